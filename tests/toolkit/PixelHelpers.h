#pragma once
// Small helpers for pixel tests on QImages.

#include <QImage>
#include <QRect>

#include "Barcode.h"
#include "ScanOracle.h"

// A background that no drawing uses, to tell "untouched" from "white".
inline constexpr QRgb kUntouched = 0xFF808080;

inline QImage canvasImage(int width, int height, QRgb fill = kUntouched) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

inline TColor colourAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

// Bounding box of the pixels for which `pick` holds; null when none does.
template <typename Pick>
QRect boxOf(const QImage& image, Pick pick) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pick(colourAt(image, x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The image as grey levels with `quiet` white columns left and right and a
// few white rows above and below, scaled by `factor`, for the decoders.
inline oracle::GrayImage toGray(const QImage& image, int quiet = 20, int factor = 2) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    oracle::GrayImage out;
    out.width = grey.width() + 2 * quiet;
    out.height = grey.height() + 2 * quiet;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 255);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            out.pixels[static_cast<std::size_t>(y + quiet) * out.width + x + quiet] = row[x];
    }
    return oracle::scale(out, factor);
}
