#pragma once
// Helpers shared by the window tests: the folder-per-test fixture, a
// settings record laid out by hand, and a picture's bars handed to a decoder with the quiet zone that the
// program's pictures do not carry.

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include <filesystem>

#include "FakeDesktop.h"
#include "ScanOracle.h"
#include "TLForm.h"
#include "TempDir.h"

namespace formtest {

// Each window test runs in its own empty current folder (where the settings
// file goes) with its own language file, and answers dialogs through a fake.
class WindowTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path languageFile = dir / "HalvexBarcode.INI";
    FakeDesktop desktop;

    void SetUp() override {
        std::filesystem::current_path(dir.path());
        TLForm::setLanguageFilePath(languageFile);
    }
    void TearDown() override {
        TLForm::setLanguageFilePath({});
        std::filesystem::current_path(previous);
    }
};

// The 360-byte settings record laid out by hand from its field table:
// symbology index at 0, height at 4, value at 8, display flag at 88, the
// two lines at 200 and 280; texts NUL-padded and cut at 80 bytes.
inline std::string recordBytes(std::int16_t typeIndex, std::int32_t heightMM, const std::string& value, bool show,
                               const std::string& line1 = "", const std::string& line2 = "") {
    std::string b(360, '\0');
    b[0] = char(typeIndex & 0xFF);
    b[1] = char((typeIndex >> 8) & 0xFF);
    for (int i = 0; i < 4; ++i) b[4 + i] = char((std::uint32_t(heightMM) >> (8 * i)) & 0xFF);
    auto put = [&b](std::size_t at, const std::string& text) {
        std::memcpy(b.data() + at, text.data(), std::min<std::size_t>(text.size(), 80));
    };
    put(8, value);
    b[88] = show ? 1 : 0;
    put(200, line1);
    put(280, line2);
    return b;
}

// LOGFONTA of the window's design font: lfHeight -16, weight 400,
// DEFAULT_CHARSET, face "MS Sans Serif".
inline std::string designLogFont() {
    std::string b(60, '\0');
    const char height[4] = {char(0xF0), char(0xFF), char(0xFF), char(0xFF)};
    std::memcpy(b.data(), height, 4);
    b[16] = char(0x90);
    b[17] = 0x01;
    b[23] = 1;
    std::memcpy(b.data() + 28, "MS Sans Serif", 13);
    return b;
}

// A whole 540-byte settings file: the record and three design fonts.
inline std::string settingsFile(std::int16_t typeIndex, std::int32_t heightMM, const std::string& value, bool show,
                                const std::string& line1 = "", const std::string& line2 = "") {
    const std::string font = designLogFont();
    return recordBytes(typeIndex, heightMM, value, show, line1, line2) + font + font + font;
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
