// The render command as a user runs it: exit codes, messages, and pictures
// that open and decode.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "ScanOracle.h"

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int exitCode;
    std::string err;
};

std::string quoted(const std::string& arg) {
    std::string out = "'";
    for (char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

CliRun runCli(const std::vector<std::string>& args) {
    const fs::path errFile =
        fs::temp_directory_path() / ("halvex-render-" + std::to_string(::getpid()) + ".err");
    std::string command = quoted(HALVEX_CLI);
    for (const std::string& a : args)
        command += " " + quoted(a);
    command += " 2>" + quoted(errFile.string());
    const int status = std::system(command.c_str());
    std::ifstream in(errFile);
    std::stringstream err;
    err << in.rdbuf();
    fs::remove(errFile);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, err.str()};
}

class RenderCommand : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("halvex-render-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

oracle::GrayImage toGray(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    constexpr int quiet = 20;
    oracle::GrayImage out;
    out.width = grey.width() + 2 * quiet;
    out.height = grey.height() + 2 * quiet;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 255);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            out.pixels[static_cast<std::size_t>(y + quiet) * out.width + x + quiet] = grey.constScanLine(y)[x];
    return oracle::scale(out, 2);
}

}  // namespace

TEST_F(RenderCommand, WritesPicturesThatDecode) {
    // Default picture: 123 x 80 for Code 128B "12345678" at 20 mm with the
    // value (the main window's worked example); BMP by extension, any case.
    struct Row { std::vector<std::string> extra; const char* file; int width, height; const char* comment; } rows[] = {
        {{}, "default.png", 123, 80, "the main window's defaults"},
        {{}, "DEFAULT.BMP", 123, 80, "BMP chosen by an upper-case extension"},
        {{"--no-text", "--height-mm", "10"}, "short.png", 123, 28, "10 mm without the value: 28 rows"},
        {{"--modul", "2", "--line1", "A", "--line1-font", "Arial:16"}, "wide.png", 246, 97,
         "Modul 2 doubles the width; line 1 adds 12 + 5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        std::vector<std::string> args = {"render", "--type", "Code128B", "--value", "12345678", "-o", path(row.file)};
        args.insert(args.end(), row.extra.begin(), row.extra.end());
        const CliRun run = runCli(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        QImage image(QString::fromStdString(path(row.file)));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(row.width, row.height));
        const auto zx = oracle::decodeZxing(toGray(image), ZXing::BarcodeFormat::Code128);
        ASSERT_TRUE(zx.has_value());
        EXPECT_EQ(zx->text, "12345678");
    }
}

TEST_F(RenderCommand, RefusesBadInputWithAMessageAndNoFile) {
    struct Row { std::vector<std::string> args; int exitCode; const char* message; const char* comment; } rows[] = {
        {{"--type", "Code128C", "--value", "12a"}, 1, "Barcode must be numeric", "the engine refuses the value"},
        {{"--type", "Code128B", "--value", "1", "--height-mm", "99999"}, 1, "pixels high", "absurd bar height"},
        {{"--type", "NoSuchCode", "--value", "1"}, 2, "unknown barcode type", "type name"},
        {{"--type", "Code128B", "--value", "1", "--value-font", "Arial"}, 2, "FACE:PIXELS", "font without size"},
        {{"--type", "Code128B", "--value", "1", "--line1-font", "Arial:0"}, 2, "FACE:PIXELS", "font of 0 pixels"},
        {{"--type", "Code128B", "--value", "1", "--modul", "50"}, 2, "50", "module width out of range"},
        {{"--value", "1"}, 2, "--type", "missing type"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        std::vector<std::string> args = {"render", "-o", path("out.png")};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const CliRun run = runCli(args);
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(path("out.png")));
    }
    const CliRun gif = runCli({"render", "--type", "Code128B", "--value", "1", "-o", path("out.gif")});
    EXPECT_EQ(gif.exitCode, 2);
    EXPECT_NE(gif.err.find(".png, .bmp, .jpg, .svg or .pdf"), std::string::npos) << gif.err;
    EXPECT_FALSE(fs::exists(path("out.gif")));
}

TEST_F(RenderCommand, FailedRenderKeepsTheOldFile) {
    const std::string out = path("keep.png");
    ASSERT_EQ(runCli({"render", "--type", "Code128B", "--value", "old", "-o", out}).exitCode, 0);
    const auto before = fs::file_size(out);
    EXPECT_EQ(runCli({"render", "--type", "Code128C", "--value", "x", "-o", out}).exitCode, 1);
    ASSERT_TRUE(fs::exists(out));
    EXPECT_EQ(fs::file_size(out), before);
    EXPECT_FALSE(QImage(QString::fromStdString(out)).isNull());
}
