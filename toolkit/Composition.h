#pragma once
// The barcode picture: bars, the human-readable value under them and up to
// two free text lines, composed into one white image.  The main window's
// preview, its copy command and the command-line tool all call this, so they
// draw the very same picture.

#include <QImage>
#include <string>

class QPainter;

#include "Barcode.h"

// The fonts of the main window's value and line boxes before any settings
// are applied: MS Sans Serif, 16 pixels (12 points), regular.
TFont designTextFont();

struct PictureInputs {
    TBarcodeType symbology = bcCode128B;
    std::string value = "12345678";  // already gathered and completed
    int heightMM = 20;               // bar height in millimetres
    bool display = true;             // draw the value under the bars
    TFont valueFont = designTextFont();
    std::string line1;
    TFont line1Font = designTextFont();
    std::string line2;
    TFont line2Font = designTextFont();

    // Offered by the command-line tool only; the window keeps these.
    double angle = 0.0;  // degrees, counter-clockwise
    int modul = 1;       // narrow module width in pixels, 1 to 49
    bool checksum = false;
    TColor foreground = clBlack;  // bars and text
    TColor background = clWhite;  // the picture, the spaces and the text boxes
    // Clear space around everything: the symbology's standard quiet zone
    // left and right, the narrower of the two above and below, in narrow
    // modules of `modul` pixels, in the background colour.
    bool quietZone = false;
};

// The largest picture composed: each side at most kMaxPictureSide pixels and
// at most kMaxPicturePixels pixels in all (64 MB at 32 bits a pixel).
inline constexpr int kMaxPictureSide = 32767;
inline constexpr long long kMaxPicturePixels = 1LL << 24;

// Composes the picture with `barcode`, whose Height, Typ, ShowText, Text,
// ShowTextFont, Angle, Modul, Checksum, Left and Top it sets from `inputs`
// (Left and Top to 0 at angle 0); its Ratio, text position, check-digit
// method and colours are used as they are.  The bar height is
// heightMM x 2.83 truncated; font sizes in points stand for pixel counts.
// At a non-zero angle the picture is sized to the rotated bars' bounding
// box and the value is centred under that box.
//
// Throws EBarcodeError with the engine's message when the value cannot be
// encoded, and with a size message when the picture would be empty or
// larger than the limits above; nothing is allocated in that case.
QImage composePicture(const PictureInputs& inputs, TKelBarcode& barcode);

// The same with a component set up as the main window's: Modul 1, Ratio
// 2.0, value at stpBottomCenter, white and black.
QImage composePicture(const PictureInputs& inputs);

// Sets a fresh component up as the main window's (see above).
void setUpAsWindowBarcode(TKelBarcode& barcode);

// The picture's geometry, worked out before anything is drawn, so that it
// can be painted on any device: an image, an SVG or a PDF writer.  The
// vector files are painted from the very same geometry as the image.
struct PictureLayout {
    int width = 0;   // the whole picture in pixels, quiet zone included
    int height = 0;
    int marginLeft = 0;  // the quiet zone
    int marginTop = 0;
    int contentWidth = 0;  // the picture without its quiet zone
    int contentHeight = 0;
    bool rotated = false;
    int barsLeft = 0;      // where the rotated bars are drawn from
    int barsTop = 0;
    int barsBottom = 0;    // last row of the bars
    bool line1 = false;
    bool line2 = false;
    int line1Top = 0;
    int line2Top = 0;
};

// Sets `barcode` up as composePicture does and works out the layout; throws
// as composePicture.
PictureLayout layoutPicture(const PictureInputs& inputs, TKelBarcode& barcode);

// Paints the laid-out picture, background included, with its top-left
// corner at the painter's origin, one picture pixel to one painter unit.
// `vector` paints for an SVG or PDF writer (see QtCanvas::Device).
void paintPicture(const PictureLayout& layout, const PictureInputs& inputs, TKelBarcode& barcode,
                  QPainter& painter, bool vector);

// True when text is empty or holds only spaces and control characters.
bool isBlankLine(const std::string& text);
