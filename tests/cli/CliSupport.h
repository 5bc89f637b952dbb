#pragma once
// Running the real halvex-barcode binary from a test, and reading what it
// wrote with tools that are not ours.

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "ScanOracle.h"

namespace clitest {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& arg) {
    std::string out = "'";
    for (char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

inline std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs a shell command line, capturing standard output and error.
inline Outcome shell(const std::string& commandLine) {
    static int serial = 0;
    const fs::path base = fs::temp_directory_path() /
                          ("halvex-cli-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    const std::string command =
        commandLine + " >" + quoted(base.string() + ".out") + " 2>" + quoted(base.string() + ".err");
    const int status = std::system(command.c_str());
    Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(base.string() + ".out"), slurp(base.string() + ".err")};
    fs::remove(base.string() + ".out");
    fs::remove(base.string() + ".err");
    return run;
}

inline Outcome cli(const std::vector<std::string>& args) {
    std::string command = quoted(HALVEX_CLI);
    for (const std::string& a : args)
        command += " " + quoted(a);
    return shell(command);
}

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        static int serial = 0;
        m_path = fs::temp_directory_path() /
                 ("halvex-clitest-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempFolder() { fs::remove_all(m_path); }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// A picture as the decoders' grey image, `quiet` white pixels added around
// and scaled up `factor` times.
inline oracle::GrayImage toGray(const QImage& image, int quiet = 0, int factor = 1) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    oracle::GrayImage out;
    out.width = grey.width() + 2 * quiet;
    out.height = grey.height() + 2 * quiet;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 255);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            out.pixels[static_cast<std::size_t>(y + quiet) * out.width + x + quiet] = grey.constScanLine(y)[x];
    return factor > 1 ? oracle::scale(out, factor) : out;
}

// Runs of dark pixels in row y: {first column, width}.
inline std::vector<std::pair<int, int>> darkRuns(const QImage& image, int y) {
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x) {
        const bool dark = qGray(image.pixel(x, y)) < 128;
        if (dark && (runs.empty() || runs.back().first + runs.back().second != x))
            runs.push_back({x, 1});
        else if (dark)
            ++runs.back().second;
    }
    return runs;
}

}  // namespace clitest
