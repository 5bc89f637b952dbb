// render --verify and batch --verify: the written picture is read back with
// a decoder and must scan as its value.  Expected outcomes come from the
// symbologies' standards (character sets, digit pairs, check digits).

#include <gtest/gtest.h>

#include <fstream>

#include "CliSupport.h"

using namespace clitest;

TEST(Verify, RenderExitsWith3AndTheReasonWhenTheSymbolDoesNotScanAsItsValue) {
    struct Case {
        std::vector<std::string> args;  // besides -o
        const char* output;
        int exitCode;
        const char* reason;  // part of standard error; "" for none
        const char* comment;
    };
    const Case cases[] = {
        {{"-t", "Code128B", "-v", "Shelf 4"}, "ok.png", 0, "", "Code 128B holds all printable ASCII"},
        {{"-t", "EAN13", "-v", "400638133393", "--checksum"}, "ok.jpg", 0, "",
         "GS1 check digit 1 added; read back from the JPEG file itself"},
        {{"-t", "Code39", "-v", "HELLO", "--checksum"}, "ok.svg", 0, "",
         "Code 39 with its modulo-43 check character, which readers strip"},
        {{"-t", "Code39", "-v", "A#B"}, "skip.png", 3, "Scans as AB, not as A#B: # cannot be encoded",
         "'#' is not a Code 39 character (ISO/IEC 16388)"},
        {{"-t", "2_5_interleaved", "-v", "1234567"}, "odd.bmp", 3,
         "Scans as 123456, not as 1234567: the last digit 7 has no partner",
         "Interleaved 2 of 5 draws digit pairs (ISO/IEC 16390)"},
        {{"-t", "EAN13", "-v", "124"}, "nocheck.png", 3,
         "Does not scan: padded with zeros; the last digit 4 is not the check digit 3",
         "0000000000124 drawn as given: the GS1 check digit of 000000000012 is 3"},
        {{"-t", "MSI", "-v", "1234"}, "msi.png", 3, "Cannot be checked: no decoder reads MSI",
         "zxing-cpp and zbar read no MSI"},
        {{"-t", "Code128B", "-v", "ABC", "--angle", "30"}, "turned.png", 3,
         "Cannot be checked: no decoder reads bars turned by 30 degrees",
         "the line decoders scan along rows and columns only"},
    };
    TempFolder dir;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + c.comment);
        std::vector<std::string> args = {"render", "--verify", "-o", dir / c.output};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome run = cli(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        if (c.exitCode == 0)
            EXPECT_EQ(run.err, "");
        // The picture is written all the same.
        EXPECT_TRUE(fs::exists(dir / c.output));
    }
}

TEST(Verify, RenderWithoutVerifyDoesNotCheck) {
    TempFolder dir;
    const Outcome run = cli({"render", "-t", "Code39", "-v", "A#B", "-o", dir / "a.png"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

TEST(Verify, BatchCountsVerifiedAndNotVerifiedPictures) {
    TempFolder dir;
    {
        std::ofstream list(dir / "values.txt");
        list << "HELLO\nA#B\nWORLD-1\n";
    }
    const std::string pattern = dir / "out/{n}.png";
    const Outcome run =
        cli({"batch", "--verify", "-t", "Code39", "-i", dir / "values.txt", "-o", pattern, "-j", "2"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_EQ(run.out.rfind("3 written, 0 failed, 2 verified, 1 not verified, ", 0), 0u) << run.out;
    EXPECT_NE(run.err.find("row 2: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Scans as AB, not as A#B"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("row 1"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(dir / "out/2.png"));

    // A refused row (its file name is row 1's already) still counts as
    // failed, and exit 1 wins over 3.
    {
        std::ofstream list(dir / "values.txt");
        list << "A#B\nA#B\n";
    }
    const Outcome mixed =
        cli({"batch", "--verify", "-t", "Code39", "-i", dir / "values.txt", "-o", dir / "mixed/{value}.png"});
    EXPECT_EQ(mixed.exitCode, 1) << mixed.err;
    EXPECT_EQ(mixed.out.rfind("1 written, 1 failed, 0 verified, 1 not verified, ", 0), 0u) << mixed.out;
}
