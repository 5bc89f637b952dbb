#include "Composition.h"

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "Canvas.h"
#include "QtCanvas.h"
#include "Rotation.h"

namespace {

// Millimetres to pixels of the bar height; the product is truncated.
constexpr double kPixelsPerMillimetre = 2.83;

// A font's size in points at 96 pixels per inch, as the font reports it;
// computed in double so that no Height can overflow.
long long pointSize(const TFont& font) {
    return static_cast<long long>(std::nearbyint(-static_cast<double>(font.Height) * 72.0 / ScreenPixelsPerInch));
}

[[noreturn]] void failSize(long long width, long long height) {
    throw EBarcodeError("The picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels; it must be at least 1 x 1 and at most " + std::to_string(kMaxPictureSide) +
                        " pixels each way and " + std::to_string(kMaxPicturePixels) + " pixels in all.");
}

void checkSize(long long width, long long height) {
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide ||
        width * height > kMaxPicturePixels)
        failSize(width, height);
}

// A quantity that may go into the picture's size; absurd ones stop here,
// before any arithmetic can overflow.
long long boundedTerm(long long v) {
    constexpr long long bound = 1LL << 40;
    return v > bound ? bound : v < -bound ? -bound : v;
}

int toInt(long long v) {
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

struct Box {
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
};

// Pixel extent of the rotated bars drawn at Left = Top = 0: every bar lies
// inside the rectangle with corners (0, 0) and (W - 1, Hb), and rounding is
// monotone, so the rounded corners of that rectangle bound every bar.
Box rotatedExtent(int width, int height, double angle) {
    const double theta = AngleRadians(angle);
    const TPoint origin = RotatedOrigin({0, 0}, {width, height}, theta);
    Box box;
    for (TPoint corner : {TPoint{0, 0}, TPoint{0, height}, TPoint{width - 1, height}, TPoint{width - 1, 0}}) {
        const TPoint p = TranslatePoint(RotatePoint(corner, theta), origin);
        box.minX = std::min(box.minX, p.X);
        box.minY = std::min(box.minY, p.Y);
        box.maxX = std::max(box.maxX, p.X);
        box.maxY = std::max(box.maxY, p.Y);
    }
    return box;
}

}  // namespace

TFont designTextFont() {
    TFont font;
    font.Name = "MS Sans Serif";
    font.Height = -16;
    return font;
}

bool isBlankLine(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > 0x20)
            return false;
    return true;
}

QImage composePicture(const PictureInputs& inputs, TKelBarcode& barcode) {
    const double hbExact = std::trunc(inputs.heightMM * kPixelsPerMillimetre);
    if (std::fabs(hbExact) > kMaxPictureSide)
        throw EBarcodeError("The bars would be " + std::to_string(static_cast<long long>(hbExact)) +
                            " pixels high; a picture is at most " + std::to_string(kMaxPictureSide) +
                            " pixels each way.");
    const int hb = static_cast<int>(hbExact);
    if (!std::isfinite(inputs.angle))
        throw EBarcodeError("The angle must be a finite number of degrees.");

    barcode.SetHeight(hb);
    barcode.SetTyp(inputs.symbology);
    barcode.SetShowText(inputs.display ? bcoCode : bcoNone);
    barcode.SetText(inputs.value);
    barcode.SetAngle(inputs.angle);
    barcode.SetModul(inputs.modul);
    barcode.SetCheckSum(inputs.checksum);
    barcode.SetLeft(0);
    barcode.SetTop(0);
    barcode.SetShowTextFont(inputs.valueFont);

    const bool line1 = !isBlankLine(inputs.line1);
    const bool line2 = !isBlankLine(inputs.line2);
    const long long sv = boundedTerm(pointSize(inputs.valueFont));
    const long long s1 = boundedTerm(pointSize(inputs.line1Font));
    const long long s2 = boundedTerm(pointSize(inputs.line2Font));

    // The bars' box: W x Hb at angle 0; otherwise the rotated bars' pixel
    // extent, whose last row takes the place of row Hb.
    long long barsWidth = barcode.GetWidth();
    long long barsBottom = hb;
    const bool rotated = inputs.angle != 0.0;
    Box box;
    if (rotated) {
        if (barsWidth < 1 || barsWidth > kMaxPictureSide)
            failSize(barsWidth, hb);
        box = rotatedExtent(static_cast<int>(barsWidth), hb, inputs.angle);
        barsWidth = static_cast<long long>(box.maxX) - box.minX + 1;
        barsBottom = static_cast<long long>(box.maxY) - box.minY;
    }

    long long height = barsBottom;
    if (inputs.display)
        height += 2 * sv;
    if (line1)
        height += s1 + 5;
    if (line2)
        height += s2 + 5;
    const long long width = barsWidth;
    checkSize(width, height);

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull())
        throw EBarcodeError("Not enough memory for a picture of " + std::to_string(width) + " x " +
                            std::to_string(height) + " pixels.");
    image.fill(Qt::white);
    {
        QtCanvas canvas(image);
        if (!rotated) {
            barcode.DrawBarcode(canvas);
        } else {
            // The engine places text by the unrotated bars; here it goes
            // centred under the rotated bars' box instead.
            barcode.SetLeft(-box.minX);
            barcode.SetTop(-box.minY);
            barcode.SetShowText(bcoNone);
            barcode.DrawBarcode(canvas);
            barcode.SetShowText(inputs.display ? bcoCode : bcoNone);
            if (inputs.display) {
                canvas.Font = barcode.ShowTextFont();
                canvas.Brush.SetColor(clWhite);
                const long long tw = canvas.TextWidth(barcode.Text());
                canvas.TextOut(toInt((width - tw) / 2), toInt(barsBottom + 1),
                               barcode.Text());
            }
        }
        canvas.Brush.SetColor(clWhite);
        if (line1) {
            canvas.Font = inputs.line1Font;
            const long long y = line2 ? height - s1 - s2 - 10 : height - s1 - 5;
            canvas.TextOut(1, toInt(y), inputs.line1);
        }
        if (line2) {
            canvas.Font = inputs.line2Font;
            canvas.TextOut(1, toInt(height - s2 - 5), inputs.line2);
        }
    }
    return image;
}

QImage composePicture(const PictureInputs& inputs) {
    TKelBarcode barcode;
    barcode.SetModul(1);
    barcode.SetRatio(2.0);
    barcode.SetShowTextPosition(stpBottomCenter);
    return composePicture(inputs, barcode);
}
