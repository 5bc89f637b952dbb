#include "ScanOracle.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include <ZXing/DecodeHints.h>
#include <ZXing/ReadBarcode.h>

#include "Barcode.h"

namespace oracle {

GrayImage renderModules(const TKelBarcode& barcode, const std::string& modules, int quiet,
                        int height) {
    std::vector<std::pair<int, TBarLineType>> elements;
    int total = 0;
    for (char code : modules) {
        int width = 0;
        TBarLineType line;
        barcode.OneBarProps(code, width, line);
        elements.emplace_back(width, line);
        total += width;
    }
    const int margin = 8;
    GrayImage image;
    image.width = total + 2 * quiet;
    image.height = height + 2 * margin;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 255);
    const int halfHeight = height * 2 / 5;
    int x = quiet;
    for (const auto& [width, line] : elements) {
        if (line != TBarLineType::white) {
            const int rows = line == TBarLineType::black ? height : halfHeight;
            for (int y = 0; y < rows; ++y)
                for (int dx = 0; dx < width; ++dx)
                    image.pixels[static_cast<std::size_t>(y + margin) * image.width + x + dx] = 0;
        }
        x += width;
    }
    return image;
}

GrayImage scale(const GrayImage& image, int factor) {
    GrayImage out;
    out.width = image.width * factor;
    out.height = image.height * factor;
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.pixels[static_cast<std::size_t>(y) * out.width + x] =
                image.pixels[static_cast<std::size_t>(y / factor) * image.width + x / factor];
    return out;
}

std::optional<Decoded> decodeZxing(const GrayImage& image, ZXing::BarcodeFormats formats,
                                   bool code39Extended) {
    ZxingOptions options;
    options.code39Extended = code39Extended;
    return decodeZxingWith(image, formats, options);
}

std::optional<Decoded> decodeZxingWith(const GrayImage& image, ZXing::BarcodeFormats formats,
                                       const ZxingOptions& options) {
    ZXing::ImageView view(image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setFormats(formats);
    hints.setTryHarder(true);
    hints.setTryCode39ExtendedMode(options.code39Extended);
    hints.setValidateCode39CheckSum(options.validateCode39CheckSum);
    hints.setReturnCodabarStartEnd(options.returnCodabarStartEnd);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid())
        return std::nullopt;
    const ZXing::ByteArray& bytes = result.bytes();
    return Decoded{std::string(bytes.begin(), bytes.end()), result.symbologyIdentifier()};
}

bool writePgm(const GrayImage& image, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << image.width << ' ' << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.pixels.data()),
              static_cast<std::streamsize>(image.pixels.size()));
    return static_cast<bool>(out);
}

std::optional<Decoded> decodeZbar(const GrayImage& image, bool addOns) {
    char path[] = "/tmp/halvex-oracle-XXXXXX.pgm";
    const int fd = mkstemps(path, 4);
    if (fd < 0)
        return std::nullopt;
    close(fd);
    if (!writePgm(image, path)) {
        std::remove(path);
        return std::nullopt;
    }
    std::string command = "zbarimg --quiet --raw -Sbinary ";
    if (addOns)
        command += "-Sean2.enable -Sean5.enable -Supca.enable ";
    command += "-Sisbn10.disable -Sisbn13.disable ";
    command += path;
    command += " 2>/dev/null";
    std::optional<Decoded> decoded;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::string output;
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        const int status = pclose(pipe);
        if (status == 0 && !output.empty()) {
            if (output.back() == '\n')
                output.pop_back();
            decoded = Decoded{output, "zbar"};
        }
    }
    std::remove(path);
    return decoded;
}

std::optional<std::vector<std::string>> zintRows(int symbology, const std::string& data,
                                                 const std::string& extraArgs) {
    for (char c : data)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return std::nullopt;
    for (char c : extraArgs)
        if (c == '\'' || c == ';' || c == '|' || c == '&' || c == '`' || c == '$')
            return std::nullopt;
    const std::string command = "zint --dump -b " + std::to_string(symbology) + " " + extraArgs +
                                " -d '" + data + "' 2>/dev/null";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    if (pclose(pipe) != 0)
        return std::nullopt;
    // Each line holds hexadecimal groups, most significant bit first.
    std::vector<std::string> rows;
    std::string row;
    auto finishRow = [&] {
        while (!row.empty() && row.back() == '0')
            row.pop_back();
        if (!row.empty())
            rows.push_back(row);
        row.clear();
    };
    for (char c : output) {
        int nibble = -1;
        if (c >= '0' && c <= '9')
            nibble = c - '0';
        else if (c >= 'A' && c <= 'F')
            nibble = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            nibble = c - 'a' + 10;
        if (nibble >= 0) {
            for (int bit = 3; bit >= 0; --bit)
                row += (nibble >> bit) & 1 ? '1' : '0';
        } else if (c == '\n') {
            finishRow();
        }
    }
    finishRow();
    if (rows.empty())
        return std::nullopt;
    return rows;
}

}  // namespace oracle
