#include "Composition.h"

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include <QPainter>
#include <algorithm>

#include "Canvas.h"
#include "FontMapping.h"
#include "QtCanvas.h"
#include "QuietZone.h"
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

PictureLayout layoutPicture(const PictureInputs& inputs, TKelBarcode& barcode) {
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

    PictureLayout layout;
    layout.line1 = !isBlankLine(inputs.line1);
    layout.line2 = !isBlankLine(inputs.line2);
    const long long sv = boundedTerm(pointSize(inputs.valueFont));
    const long long s1 = boundedTerm(pointSize(inputs.line1Font));
    const long long s2 = boundedTerm(pointSize(inputs.line2Font));

    // The bars' box: W x Hb at angle 0; otherwise the rotated bars' pixel
    // extent, whose last row takes the place of row Hb.
    long long barsWidth = barcode.GetWidth();
    long long barsBottom = hb;
    layout.rotated = inputs.angle != 0.0;
    if (layout.rotated) {
        if (barsWidth < 1 || barsWidth > kMaxPictureSide)
            failSize(barsWidth, hb);
        const Box box = rotatedExtent(static_cast<int>(barsWidth), hb, inputs.angle);
        barsWidth = static_cast<long long>(box.maxX) - box.minX + 1;
        barsBottom = static_cast<long long>(box.maxY) - box.minY;
        layout.barsLeft = -box.minX;
        layout.barsTop = -box.minY;
    }

    long long height = barsBottom;
    if (inputs.display)
        height += 2 * sv;
    if (layout.line1)
        height += s1 + 5;
    if (layout.line2)
        height += s2 + 5;
    const long long width = barsWidth;
    checkSize(width, height);

    long long left = 0, right = 0, top = 0;
    if (inputs.quietZone) {
        const TQuietZone zone = StandardQuietZone(inputs.symbology);
        left = static_cast<long long>(zone.Left) * inputs.modul;
        right = static_cast<long long>(zone.Right) * inputs.modul;
        top = std::min(left, right);
    }
    checkSize(width + left + right, height + 2 * top);

    layout.contentWidth = static_cast<int>(width);
    layout.contentHeight = static_cast<int>(height);
    layout.marginLeft = static_cast<int>(left);
    layout.marginTop = static_cast<int>(top);
    layout.width = static_cast<int>(width + left + right);
    layout.height = static_cast<int>(height + 2 * top);
    layout.barsBottom = static_cast<int>(barsBottom);
    layout.line1Top = toInt(layout.line2 ? height - s1 - s2 - 10 : height - s1 - 5);
    layout.line2Top = toInt(height - s2 - 5);
    return layout;
}

void paintPicture(const PictureLayout& layout, const PictureInputs& inputs, TKelBarcode& barcode,
                  QPainter& painter, bool vector) {
    painter.save();
    painter.fillRect(QRect(0, 0, layout.width, layout.height), QColor::fromRgb(toQRgb(inputs.background)));
    painter.translate(layout.marginLeft, layout.marginTop);
    {
        QtCanvas canvas(painter, vector ? QtCanvas::Device::Vector : QtCanvas::Device::Raster);
        canvas.setColours(inputs.foreground, inputs.background);
        if (!layout.rotated) {
            barcode.DrawBarcode(canvas);
        } else {
            // The engine places text by the unrotated bars; here it goes
            // centred under the rotated bars' box instead.
            barcode.SetLeft(layout.barsLeft);
            barcode.SetTop(layout.barsTop);
            barcode.SetShowText(bcoNone);
            barcode.DrawBarcode(canvas);
            barcode.SetShowText(inputs.display ? bcoCode : bcoNone);
            if (inputs.display) {
                canvas.Font = barcode.ShowTextFont();
                canvas.Brush.SetColor(clWhite);
                const long long tw = canvas.TextWidth(barcode.Text());
                canvas.TextOut(toInt((layout.contentWidth - tw) / 2), toInt(layout.barsBottom + 1LL),
                               barcode.Text());
            }
        }
        canvas.Brush.SetColor(clWhite);
        if (layout.line1) {
            canvas.Font = inputs.line1Font;
            canvas.TextOut(1, layout.line1Top, inputs.line1);
        }
        if (layout.line2) {
            canvas.Font = inputs.line2Font;
            canvas.TextOut(1, layout.line2Top, inputs.line2);
        }
    }
    painter.restore();
}

QImage composePicture(const PictureInputs& inputs, TKelBarcode& barcode) {
    const PictureLayout layout = layoutPicture(inputs, barcode);
    QImage image(layout.width, layout.height, QImage::Format_RGB32);
    if (image.isNull())
        throw EBarcodeError("Not enough memory for a picture of " + std::to_string(layout.width) + " x " +
                            std::to_string(layout.height) + " pixels.");
    QPainter painter(&image);
    paintPicture(layout, inputs, barcode, painter, false);
    return image;
}

void setUpAsWindowBarcode(TKelBarcode& barcode) {
    barcode.SetModul(1);
    barcode.SetRatio(2.0);
    barcode.SetShowTextPosition(stpBottomCenter);
}

QImage composePicture(const PictureInputs& inputs) {
    TKelBarcode barcode;
    setUpAsWindowBarcode(barcode);
    return composePicture(inputs, barcode);
}
