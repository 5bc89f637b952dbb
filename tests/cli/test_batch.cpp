// batch as a user runs it: a long list with bad rows among good ones, CSV
// with per-row text lines, safe file names, and the same files for any
// number of threads.

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "CliSupport.h"

using namespace clitest;

namespace {

// Row n's value: every 7th row carries a letter, which Code 128C refuses.
std::string valueOfRow(int n) {
    std::string digits = std::to_string(10000000 + n);
    if (n % 7 == 3)
        digits[4] = 'x';
    return digits;
}

bool isBad(int n) { return n % 7 == 3; }

std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = slurp(entry.path());
    return files;
}

}  // namespace

TEST(Batch, WritesTheGoodRowsReportsTheBadOnesAndIgnoresTheThreadCount) {
    TempFolder dir;
    {
        std::ofstream list(dir / "values.txt");
        for (int n = 1; n <= 1000; ++n)
            list << valueOfRow(n) << (n % 2 ? "\n" : "\r\n");  // LF and CR LF lines alike
    }
    std::map<std::string, std::string> byJobs[2];
    for (int jobs : {1, 2}) {
        SCOPED_TRACE(jobs);
        const std::string out = dir / ("out" + std::to_string(jobs));
        const Outcome run = cli({"batch", "-t", "Code128C", "-i", dir / "values.txt", "-o", out + "/label-{n:04}.png",
                                 "--modul", "2", "--quiet-zone", "--jobs", std::to_string(jobs)});
        EXPECT_EQ(run.exitCode, 1) << "some rows failed";

        // Failures on standard error, one line each, in row order.
        std::istringstream err(run.err);
        std::string line;
        std::vector<int> reported;
        while (std::getline(err, line)) {
            const std::string prefix = "halvex-barcode batch: row ";
            ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
            reported.push_back(std::stoi(line.substr(prefix.size())));
            EXPECT_NE(line.find("numeric"), std::string::npos) << line;
        }
        std::vector<int> expectedBad;
        for (int n = 1; n <= 1000; ++n)
            if (isBad(n))
                expectedBad.push_back(n);
        EXPECT_EQ(reported, expectedBad);
        EXPECT_EQ(run.out.rfind(std::to_string(1000 - expectedBad.size()) + " written, " +
                                    std::to_string(expectedBad.size()) + " failed, ", 0),
                  0u)
            << run.out;

        byJobs[jobs - 1] = filesIn(out);
        std::set<std::string> expectedNames;
        for (int n = 1; n <= 1000; ++n)
            if (!isBad(n)) {
                char name[32];
                std::snprintf(name, sizeof name, "label-%04d.png", n);
                expectedNames.insert(name);
            }
        std::set<std::string> names;
        for (const auto& [name, bytes] : byJobs[jobs - 1])
            names.insert(name);
        EXPECT_EQ(names, expectedNames) << "exactly the good rows, named by row, no temporary files left";
    }
    EXPECT_TRUE(byJobs[0] == byJobs[1]) << "the files differ between --jobs 1 and --jobs 2";

    // The pictures are the right ones: zbar reads rows 1, 501 and 1000 from
    // the files as written (their own quiet zone, nothing added).
    for (int n : {1, 501, 1000}) {
        char name[32];
        std::snprintf(name, sizeof name, "out2/label-%04d.png", n);
        const QImage image(QString::fromStdString(dir / name));
        ASSERT_FALSE(image.isNull()) << name;
        const auto zbar = oracle::decodeZbar(toGray(image));
        ASSERT_TRUE(zbar.has_value()) << name;
        EXPECT_EQ(zbar->text, valueOfRow(n));
    }
}

TEST(Batch, CsvColumnsLinesAndSafeNames) {
    TempFolder dir;
    {
        std::ofstream csv(dir / "stock.csv");
        csv << "\xEF\xBB\xBF" "sku,Code,line1\n"                     // a spreadsheet's byte order mark
            << "1,AB-1,\"Shelf 4, left\"\n"                          // a quoted comma
            << "2,../up,\"Say \"\"hi\"\"\"\n"                        // "" inside quotes; a path in the value
            << "\n"                                                  // blank: skipped, not numbered
            << "3,.hidden,x\n"
            << "4,AB-1,again\n"                                      // the same name as row 1
            << "5\n";                                                // no Code field
    }
    const Outcome run = cli({"batch", "-t", "Code128B", "-i", dir / "stock.csv", "--column", "code", "-o",
                             dir / "out/{value}.svg"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("row 4: file name " + dir / "out/AB-1.svg" + " is row 1's already"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("row 5: no field for column 'code'"), std::string::npos) << run.err;
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir / "out"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"AB-1.svg", "_.._up.svg", "_.hidden.svg"}));
    EXPECT_FALSE(fs::exists(dir / "up.svg"));
    const std::string svg = slurp(dir / "out/AB-1.svg");
    EXPECT_NE(svg.find(">Shelf 4, left</text>"), std::string::npos) << "line1 from the row's own column";
    EXPECT_NE(slurp(dir / "out/_.._up.svg").find(">Say &quot;hi&quot;</text>"), std::string::npos);
}

TEST(Batch, UsageErrorsWriteNothing) {
    TempFolder dir;
    {
        std::ofstream(dir / "v.csv") << "a,b\n1,2\n";
    }
    struct Row { std::vector<std::string> args; const char* message; const char* comment; } rows[] = {
        {{"-i", dir / "v.csv", "--column", "c", "-o", dir / "o/{n}.png"}, "no column 'c'", "missing column"},
        {{"-i", dir / "v.csv", "-o", dir / "o/{x}.png"}, "unknown placeholder {x}", "unknown placeholder"},
        {{"-i", dir / "v.csv", "-o", dir / "o/same.png"}, "needs {n} or {value}", "one name for every row"},
        {{"-i", dir / "v.csv", "-o", dir / "o/{n}.gif"}, ".png, .bmp, .jpg, .svg or .pdf", "unknown format"},
        {{"-i", dir / "missing.txt", "-o", dir / "o/{n}.png"}, "cannot read", "no input file"},
        {{"-i", dir / "v.csv", "-o", dir / "o/{n}.png", "--jobs", "0"}, "--jobs", "no threads"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        std::vector<std::string> args = {"batch", "-t", "Code128B"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const Outcome run = cli(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Usage: halvex-barcode batch"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(dir / "o") && !fs::is_empty(dir / "o"));
}
