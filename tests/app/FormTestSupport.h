#pragma once
// Helpers shared by the window tests: a settings record laid out by hand,
// and a picture's bars handed to a decoder with the quiet zone that the
// program's pictures do not carry.

#include <QImage>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "ScanOracle.h"

namespace formtest {

// The 360-byte settings record laid out by hand from its field table:
// symbology index at 0, height at 4, value at 8, display flag at 88, the
// two lines at 200 and 280.
inline std::string recordBytes(std::int16_t typeIndex, std::int32_t heightMM, const std::string& value, bool show,
                               const std::string& line1 = "", const std::string& line2 = "") {
    std::string b(360, '\0');
    b[0] = char(typeIndex & 0xFF);
    b[1] = char((typeIndex >> 8) & 0xFF);
    for (int i = 0; i < 4; ++i) b[4 + i] = char((std::uint32_t(heightMM) >> (8 * i)) & 0xFF);
    std::memcpy(b.data() + 8, value.data(), value.size());
    b[88] = show ? 1 : 0;
    std::memcpy(b.data() + 200, line1.data(), line1.size());
    std::memcpy(b.data() + 280, line2.data(), line2.size());
    return b;
}

// The picture's top `barsHeight` rows in grey with `quiet` white pixels
// on every side, scaled by `factor`, as the decoders like it.
inline oracle::GrayImage barsWithQuietZone(const QImage& picture, int barsHeight, int quiet = 20, int factor = 3) {
    const QImage grey = picture.copy(0, 0, picture.width(), barsHeight).convertToFormat(QImage::Format_Grayscale8);
    oracle::GrayImage image;
    image.width = grey.width() + 2 * quiet;
    image.height = grey.height() + 2 * quiet;
    image.pixels.assign(std::size_t(image.width) * std::size_t(image.height), 255);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            image.pixels[std::size_t(y + quiet) * std::size_t(image.width) + std::size_t(x + quiet)] =
                grey.constScanLine(y)[x];
    return oracle::scale(image, factor);
}

// The bars decoded by zxing-cpp.
inline std::optional<oracle::Decoded> decodeBars(const QImage& picture, int barsHeight,
                                                 ZXing::BarcodeFormats formats) {
    return oracle::decodeZxing(barsWithQuietZone(picture, barsHeight), formats);
}

}  // namespace formtest
