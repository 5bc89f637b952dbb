// The real halvex-barcode binary: its output, its hexadecimal mode and its
// exit codes (0 done, 1 the engine refused the value, 2 usage).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Barcode.h"

extern char** environ;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Runs the tool with exactly these arguments (any bytes), no shell between.
Outcome run(const std::vector<std::string>& arguments) {
    char outPath[] = "/tmp/halvex-cli-out-XXXXXX";
    char errPath[] = "/tmp/halvex-cli-err-XXXXXX";
    const int outFd = mkstemp(outPath);
    const int errFd = mkstemp(errPath);
    Outcome result;
    if (outFd < 0 || errFd < 0) {
        ADD_FAILURE() << "cannot make temporary files";
        return result;
    }
    std::vector<std::string> argv{HALVEX_CLI};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, HALVEX_CLI, &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    } else {
        ADD_FAILURE() << "cannot start " << HALVEX_CLI;
    }
    close(outFd);
    close(errFd);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    std::remove(outPath);
    std::remove(errPath);
    return result;
}

std::string joined(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& a : arguments)
        line += " '" + a + "'";
    return line;
}

}  // namespace

// Output lines, exactly.  Module strings are the worked Code 128 examples;
// widths count modules (11 a symbol, 13 the stop) times the narrow width.
TEST(HalvexCli, ModulesPrintsThreeLines) {
    struct Case {
        std::vector<std::string> arguments;
        std::string out;
    };
    const Case cases[] = {
        {{"modules", "--type", "Code128B", "AB"},
         "modules=6051535052625250628050706270506\ntext=AB\nwidth=57\n"},
        {{"modules", "--type", "bccode128b", "AB"},  // enum name, any case
         "modules=6051535052625250628050706270506\ntext=AB\nwidth=57\n"},
        {{"modules", "--type", "Code128B", "--modul", "2", "AB"},
         "modules=6051535052625250628050706270506\ntext=AB\nwidth=114\n"},
        {{"modules", "--type", "Code128B", ""},  // empty value: start, check 1, stop
         "modules=6051536160616270506\ntext=\nwidth=35\n"},
        {{"modules", "--type", "Code128B", "--hex", "4142"},
         "modules=6051535052625250628050706270506\ntext=4142\nwidth=57\n"},
        {{"modules", "--hex", "--type", "Code128B", ""},
         "modules=6051536160616270506\ntext=\nwidth=35\n"},
        // Text after encoding: set C pads an odd value, trimmed first; values
        // 01 and 23, check 49 (105 + 1 + 46 = 152), patterns of ISO/IEC 15417.
        {{"modules", "--type", "Code128C", " 123 "},
         "modules=" + TKelBarcode::PatternToModules("211232" "222122" "312131" "211331" "2331112") +
             "\ntext=0123\nwidth=57\n"},
        // Hex both ways: bytes in, text= in upper-case hex out.
        {{"modules", "--type", "code128c", "--hex", "20313233"},
         "modules=" + TKelBarcode::PatternToModules("211232" "222122" "312131" "211331" "2331112") +
             "\ntext=30313233\nwidth=57\n"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.exitCode, 0) << joined(c.arguments) << "\n" << r.err;
        EXPECT_EQ(r.out, c.out) << joined(c.arguments);
        EXPECT_EQ(r.err, "") << joined(c.arguments);
    }
}

// The tool encodes with the engine's defaults plus the given options: its
// lines agree with the engine called directly.
TEST(HalvexCli, ModulesAgreesWithTheEngine) {
    struct Case {
        TBarcodeType typ;
        std::string value;
        bool checksum;
        TCheckSumMethod method;
        int modul;
        double ratio;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {bcCodeEAN128C, "123", true, csmModulo10, 1, 2.0, {"--checksum"}},
        {bcCodeEAN128C, "123", true, csmNone, 1, 2.0, {"--checksum", "--checksum-method", "none"}},
        {bcCodeEAN128B, "10ABC", false, csmModulo10, 3, 2.0, {"--modul", "3"}},
        {bcCode128A, "HELLO", false, csmModulo10, 2, 3.0, {"--modul", "2", "--ratio", "3"}},
        {bcCode128B, "x", false, csmModulo10, 10, 2.45, {"--modul", "10", "--ratio", "2.45"}},
    };
    for (const Case& c : cases) {
        TKelBarcode b;
        b.SetTyp(c.typ);
        b.SetCheckSum(c.checksum);
        b.SetCheckSumMethod(c.method);
        b.SetModul(c.modul);
        b.SetRatio(c.ratio);
        b.SetText(c.value);
        const std::string modules = b.MakeData();
        const std::string expected =
            "modules=" + modules + "\ntext=" + b.Text() + "\nwidth=" + std::to_string(b.GetWidth()) + "\n";
        std::vector<std::string> arguments{"modules", "--type", SymbologyInfo[c.typ].Name};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        arguments.push_back(c.value);
        const Outcome r = run(arguments);
        EXPECT_EQ(r.exitCode, 0) << joined(arguments) << "\n" << r.err;
        EXPECT_EQ(r.out, expected) << joined(arguments);
    }
}

// Any byte reaches the engine: raw in an argument, or as hex.
TEST(HalvexCli, BytesPassUnchanged) {
    const Outcome raw = run({"modules", "--type", "Code128B", "caf\xe9"});
    EXPECT_EQ(raw.exitCode, 0);
    EXPECT_NE(raw.out.find("\ntext=caf\xe9\n"), std::string::npos);
    const Outcome hex = run({"modules", "--type", "Code128B", "--hex", "636166e9"});
    EXPECT_EQ(hex.exitCode, 0);
    EXPECT_NE(hex.out.find("\ntext=636166E9\n"), std::string::npos);
    // The same bytes make the same bars.
    EXPECT_EQ(raw.out.substr(0, raw.out.find('\n')), hex.out.substr(0, hex.out.find('\n')));
    const Outcome nul = run({"modules", "--type", "Code128B", "--hex", "4100ff"});
    EXPECT_EQ(nul.exitCode, 0);
    EXPECT_NE(nul.out.find("\ntext=4100FF\n"), std::string::npos);
}

// The engine refuses the value: its message alone on standard error, exit 1.
TEST(HalvexCli, EngineErrorsExitWithOne) {
    struct Case {
        std::vector<std::string> arguments;
        std::string err;
    };
    const Case cases[] = {
        {{"modules", "--type", "Code128C", "12a"}, "Barcode must be numeric\n"},
        {{"modules", "--type", "EAN128C", "--hex", "3132613334"}, "Barcode must be numeric\n"},
        {{"modules", "--type", "EAN128B", "--checksum", "A1"}, "'A' is not a valid integer value\n"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.exitCode, 1) << joined(c.arguments);
        EXPECT_EQ(r.err, c.err) << joined(c.arguments);
        EXPECT_EQ(r.out, "") << joined(c.arguments);
    }
}

// Usage errors: what was wrong and the usage on standard error, exit 2.
TEST(HalvexCli, UsageErrorsExitWithTwo) {
    struct Case {
        std::vector<std::string> arguments;
        std::string mentions;
    };
    const Case cases[] = {
        {{}, "subcommand"},
        {{"bogus"}, "Usage"},
        {{"modules", "AB"}, "--type"},
        {{"modules", "--type", "Code128B"}, "VALUE"},
        {{"modules", "--type", "Code128", "AB"}, "unknown type 'Code128'"},
        {{"modules", "--type", "Code128B", "--hex", "414"}, "two hexadecimal digits"},
        {{"modules", "--type", "Code128B", "--hex", "4G"}, "not a hexadecimal byte: 4G"},
        {{"modules", "--type", "Code128B", "--checksum-method", "mod11", "AB"}, "--checksum-method"},
        {{"modules", "--type", "Code128B", "--modul", "0", "AB"}, "--modul"},
        {{"modules", "--type", "Code128B", "--modul", "50", "AB"}, "--modul"},
        {{"modules", "--type", "Code128B", "--modul", "x", "AB"}, "--modul"},
        {{"modules", "--type", "Code128B", "--ratio", "nan", "AB"}, "--ratio"},
        {{"modules", "--type", "Code128B", "--ratio", "-1", "AB"}, "--ratio"},
        {{"modules", "--type", "Code128B", "AB", "CD"}, "CD"},
        {{"types", "extra"}, "extra"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.exitCode, 2) << joined(c.arguments);
        EXPECT_EQ(r.out, "") << joined(c.arguments);
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << joined(c.arguments) << "\n" << r.err;
        EXPECT_NE(r.err.find("Usage: halvex-barcode"), std::string::npos) << joined(c.arguments);
    }
}

TEST(HalvexCli, HelpExitsWithZero) {
    const Outcome r = run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("modules"), std::string::npos);
    EXPECT_NE(r.out.find("types"), std::string::npos);
    const Outcome sub = run({"modules", "--help"});
    EXPECT_EQ(sub.exitCode, 0);
    EXPECT_NE(sub.out.find("--checksum-method"), std::string::npos);
}

// `types`: 23 lines of value, enum name and display name, in table order.
TEST(HalvexCli, TypesListsEverySymbology) {
    const Outcome r = run({"types"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    std::istringstream lines(r.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        int value = -1;
        std::string name, displayName;
        fields >> value >> name;
        std::getline(fields >> std::ws, displayName);
        ASSERT_LT(count, BarcodeTypeCount) << line;
        EXPECT_EQ(value, count) << line;
        EXPECT_EQ(name, SymbologyInfo[count].Name) << line;
        EXPECT_EQ(displayName, SymbologyInfo[count].DisplayName) << line;
        ++count;
    }
    EXPECT_EQ(count, BarcodeTypeCount);
    EXPECT_NE(r.out.find("12  bcCodeCodabar           Codebar\n"), std::string::npos);
    EXPECT_NE(r.out.find("bcCode39Extended        Code39 Extended\n"), std::string::npos);
}
