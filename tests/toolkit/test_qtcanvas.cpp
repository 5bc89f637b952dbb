// The engine's drawing on real pixels through QtCanvas.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <vector>

#include "Barcode.h"
#include "FontMapping.h"
#include "PixelHelpers.h"
#include "QtCanvas.h"
#include "Rotation.h"

namespace {

constexpr TColor kSpace = 0x00FF00;  // Color: white modules painted green
constexpr TColor kBar = 0x0000FF;    // ColorBar
constexpr TColor kInk = 0xFF0000;    // text colour

struct Module {
    int x, w;
    TBarLineType kind;
};

std::vector<Module> modulesOf(TKelBarcode& b) {
    std::vector<Module> out;
    int x = 0;
    for (char code : b.MakeData()) {
        Module m{x, 0, TBarLineType::white};
        b.OneBarProps(code, m.w, m.kind);
        out.push_back(m);
        x += m.w;
    }
    return out;
}

// Code 128B "Hello" at Modul 2 (widths 2, 4, 6, 8), coloured so that white
// modules, bars and text can be told apart from untouched pixels.
void setUp(TKelBarcode& b, int left, int top, int height, double angle) {
    b.SetTyp(bcCode128B);
    b.SetText("Hello");
    b.SetModul(2);
    b.SetHeight(height);
    b.SetLeft(left);
    b.SetTop(top);
    b.SetAngle(angle);
    b.SetColor(kSpace);
    b.SetColorBar(kBar);
}

TColor colourOf(TBarLineType kind) { return kind == TBarLineType::white ? kSpace : kBar; }

// Every pixel must be `expected(x, y)`; reports the first few mismatches.
template <typename Expected>
void expectPixels(const QImage& image, Expected expected) {
    int failures = 0;
    for (int y = 0; y < image.height() && failures < 5; ++y)
        for (int x = 0; x < image.width() && failures < 5; ++x)
            if (colourAt(image, x, y) != expected(x, y)) {
                ++failures;
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << colourAt(image, x, y)
                              << ", expected " << expected(x, y);
            }
}

}  // namespace

TEST(QtCanvasBars, RightAnglesCoverEachModuleExactly) {
    // Bar-local (x, y) lands on the pixel given by `place`: the rotations by
    // 0, 90, 180 and 270 degrees worked out by hand for the engine's
    // geometry (90: (Left + y, Top + W - x); 180: (Left + W - x, Top + H - y)).
    constexpr int left = 5, top = 7, height = 30;
    struct Row {
        double angle;
        QPoint (*place)(int x, int y, int w);
        const char* comment;
    } rows[] = {
        {0, [](int x, int y, int) { return QPoint(left + x, top + y); }, "module k fills Left+x_k..+w-1, Top..Top+H"},
        {90, [](int x, int y, int w) { return QPoint(left + y, top + w - x); }, "code reads bottom to top"},
        {180, [](int x, int y, int w) { return QPoint(left + w - x, top + height - y); }, "upside down"},
        {270, [](int x, int y, int) { return QPoint(left + height - y, top + x); }, "code reads top to bottom"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        TKelBarcode b;
        setUp(b, left, top, height, row.angle);
        const int w = b.GetWidth();
        QImage image = canvasImage(w + 60, w + 60);
        {
            QtCanvas canvas(image);
            b.DrawBarcode(canvas);
        }
        std::vector<TColor> expected(static_cast<std::size_t>(image.width()) * image.height(), kUntouched & 0xFFFFFF);
        for (const Module& m : modulesOf(b))
            for (int x = m.x; x < m.x + m.w; ++x)
                for (int y = 0; y <= height; ++y) {
                    const QPoint p = row.place(x, y, w);
                    expected[static_cast<std::size_t>(p.y()) * image.width() + p.x()] = colourOf(m.kind);
                }
        expectPixels(image, [&](int x, int y) { return expected[static_cast<std::size_t>(y) * image.width() + x]; });
    }
}

TEST(QtCanvasBars, HalfBarsHangFromTheTopAndLeaveTheRestUntouched) {
    // "5A0B5" at Modul 3: bar, half bar, space, half bar, bar; Height 25
    // gives half bars 25 * 2 div 5 = 10 rows below Top, i.e. rows Top..Top+10.
    TKelBarcode b;
    setUp(b, 4, 6, 25, 0);
    b.SetModul(3);
    b.MakeModules();
    QImage image = canvasImage(60, 40);
    {
        QtCanvas canvas(image);
        b.DoLines("5A0B5", canvas);
    }
    // Columns: bar 4..6, half 7..9, space 10..12, half (width 6) 13..18, bar 19..21.
    expectPixels(image, [](int x, int y) -> TColor {
        const bool full = y >= 6 && y <= 31;
        const bool half = y >= 6 && y <= 16;
        if (x >= 4 && x <= 6 && full) return kBar;
        if (x >= 7 && x <= 9 && half) return kBar;
        if (x >= 10 && x <= 12 && full) return kSpace;
        if (x >= 13 && x <= 18 && half) return kBar;
        if (x >= 19 && x <= 21 && full) return kBar;
        return kUntouched & 0xFFFFFF;
    });
}

TEST(QtCanvasBars, OddAngleFollowsTheRotatedBand) {
    // 33 degrees: pixels well inside a rotated module (1.5 pixels from its
    // edges) have its colour, pixels 1.5 pixels or more outside the rotated
    // band 0..W-1 x 0..H stay untouched, and the painted box starts at
    // (Left, Top).  The rotation is recomputed here from the angle alone.
    constexpr int left = 9, top = 13, height = 40;
    TKelBarcode b;
    setUp(b, left, top, height, 33);
    b.SetModul(4);
    const int w = b.GetWidth();
    QImage image = canvasImage(w + 80, w + 80);
    {
        QtCanvas canvas(image);
        b.DrawBarcode(canvas);
    }
    const double t = 33.0 / 180.0 * M_PI, s = std::sin(t), c = std::cos(t);
    // Rotated corner of (0, 0) relative to the box: the box's smallest x is
    // at local (0, 0) and its smallest y at local (W - 1, 0) for this angle.
    const double ox = left, oy = top + (w - 1) * s;
    auto toLocal = [&](int px, int py) {
        const double X = px - ox, Y = py - oy;  // X = x c + y s, Y = -x s + y c
        return std::pair<double, double>(X * c - Y * s, X * s + Y * c);
    };
    const auto modules = modulesOf(b);
    int checkedInside = 0;
    for (int py = 0; py < image.height(); ++py)
        for (int px = 0; px < image.width(); ++px) {
            const auto [x, y] = toLocal(px, py);
            const TColor got = colourAt(image, px, py);
            if (x < -1.5 || x > w - 1 + 1.5 || y < -1.5 || y > height + 1.5) {
                ASSERT_EQ(got, kUntouched & 0xFFFFFF) << px << "," << py;
                continue;
            }
            for (const Module& m : modules)
                if (x >= m.x + 1.5 && x <= m.x + m.w - 1 - 1.5 && y >= 1.5 && y <= height - 1.5) {
                    ASSERT_EQ(got, colourOf(m.kind)) << px << "," << py;
                    ++checkedInside;
                }
        }
    EXPECT_GT(checkedInside, 1000);
    const QRect painted = boxOf(image, [](TColor v) { return v != (kUntouched & 0xFFFFFF); });
    EXPECT_EQ(painted.left(), left);
    EXPECT_EQ(painted.top(), top);
}

TEST(QtCanvasText, SixPositionsOnWhiteBoxes) {
    // The text box (white; glyphs in red) is found on the pixels; its place
    // relative to the bars is what each position promises.  Bars are green
    // and blue (Color is not white), so white pixels belong to the box.
    constexpr int left = 40, top = 30, height = 20;
    struct Row { TShowTextPosition pos; const char* comment; } rows[] = {
        {stpTopLeft, "box's top-left on the bars' top-left"},
        {stpTopRight, "box's top-right on the bars' top-right"},
        {stpTopCenter, "centred over the top rows"},
        {stpBottomLeft, "first row under the bars, left-aligned"},
        {stpBottomRight, "first row under the bars, right-aligned"},
        {stpBottomCenter, "first row under the bars, centred"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        TKelBarcode b;
        setUp(b, left, top, height, 0);
        b.SetModul(1);
        b.SetShowText(bcoCode);
        b.SetShowTextPosition(row.pos);
        TFont font;
        font.Name = "Arial";
        font.Height = -16;
        font.Color = kInk;
        b.SetShowTextFont(font);
        const int w = b.GetWidth();
        QImage image = canvasImage(w + 2 * left, 100);
        {
            QtCanvas canvas(image);
            b.DrawBarcode(canvas);
        }
        const QRect box = boxOf(image, [](TColor v) { return v == clWhite || v == kInk; });
        ASSERT_FALSE(box.isNull());
        EXPECT_TRUE(boxOf(image, [](TColor v) { return v == kInk; }).intersects(box));
        const bool bottom = row.pos >= stpBottomLeft;
        EXPECT_EQ(box.top(), bottom ? top + height + 1 : top);
        switch (row.pos) {
        case stpTopLeft:
        case stpBottomLeft: EXPECT_EQ(box.left(), left); break;
        case stpTopRight:
        case stpBottomRight: EXPECT_EQ(box.right(), left + w - 1); break;
        default:
            // (W - tw) / 2 truncated: the left gap is the smaller half.
            const int leftGap = box.left() - left, rightGap = left + w - 1 - box.right();
            EXPECT_GE(leftGap, 0);
            EXPECT_TRUE(rightGap == leftGap || rightGap == leftGap + 1) << leftGap << " " << rightGap;
        }
        // Bottom positions leave the bars whole: the row above the box is a
        // bar row in bar or space colours only.
        if (bottom)
            for (int x = box.left(); x <= box.right(); ++x)
                EXPECT_NE(colourAt(image, x, top + height), clWhite);
    }
}

TEST(QtCanvasText, ValueWiderThanBarsStartsLeftOfLeft) {
    // A 60-pixel font makes "Hello" wider than its 90-pixel Code 128B symbol.
    constexpr int left = 100, top = 10, height = 20;
    for (TShowTextPosition pos : {stpBottomCenter, stpBottomRight}) {
        TKelBarcode b;
        setUp(b, left, top, height, 0);
        b.SetModul(1);
        b.SetShowText(bcoCode);
        b.SetShowTextPosition(pos);
        TFont font;
        font.Name = "Arial";
        font.Height = -60;
        font.Color = kInk;
        b.SetShowTextFont(font);
        const int w = b.GetWidth();
        QImage image = canvasImage(400, 120);
        {
            QtCanvas canvas(image);
            b.DrawBarcode(canvas);
        }
        const QRect box = boxOf(image, [](TColor v) { return v == clWhite || v == kInk; });
        ASSERT_GT(box.width(), w);
        EXPECT_LT(box.left(), left);
        if (pos == stpBottomRight) {
            EXPECT_EQ(box.right(), left + w - 1);
        } else {
            // The negative difference's odd half pixel is dropped toward zero.
            EXPECT_EQ(box.left(), left + (w - box.width()) / 2);
        }
    }
}

TEST(QtCanvasText, NameLineAboveTheBars) {
    // MS Sans Serif at Height -11: the name's box starts at Top - 28
    // (2.5 x -11 = -27.5, rounded to even).
    TKelBarcode b;
    setUp(b, 10, 60, 20, 0);
    b.SetShowText(bcoTyp);
    TFont font;
    font.Height = -11;
    font.Color = kInk;
    b.SetShowTextFont(font);
    QImage image = canvasImage(300, 100);
    {
        QtCanvas canvas(image);
        b.DrawBarcode(canvas);
    }
    const QRect box = boxOf(image, [](TColor v) { return v == clWhite || v == kInk; });
    ASSERT_FALSE(box.isNull());
    EXPECT_EQ(box.topLeft(), QPoint(10, 60 - 28));
    const QFontMetrics fm(toQFont(font));
    EXPECT_EQ(box.width(), fm.horizontalAdvance("Code128B"));
}

TEST(QtCanvasText, ClearBrushDrawsNoBox) {
    QImage image = canvasImage(100, 40);
    {
        QtCanvas canvas(image);
        canvas.Font.Color = kInk;
        canvas.Brush.SetStyle(TBrushStyle::bsClear);
        canvas.TextOut(5, 5, "Hello");
    }
    EXPECT_TRUE(boxOf(image, [](TColor v) { return v == clWhite; }).isNull());
    EXPECT_FALSE(boxOf(image, [](TColor v) { return v == kInk; }).isNull());
}

TEST(QtCanvasBars, DirectFillMatchesQPainter) {
    // Upright bars on a 32-bit image are written straight into its pixels
    // (a row of bars painted once, then copied down); on a 24-bit image
    // QPainter fills them itself.  Both must give the same picture, through
    // a painter shifted by whole pixels, with half bars (PostNet), rotated
    // polygons, and the value's box drawn over the bars' top rows.
    struct Row {
        TBarcodeType type;
        const char* value;
        double angle;
        TShowTextPosition position;
        int shiftX, shiftY;
        const char* comment;
    } rows[] = {
        {bcCode128B, "Hello", 0, stpTopCenter, 0, 0, "one run of bars, text box over its top rows"},
        {bcCode128B, "Hello", 0, stpBottomCenter, 7, 5, "a painter shifted like a quiet zone"},
        {bcCodePostNet, "12345", 0, stpBottomLeft, 3, 0, "bars and half bars alternate: many short runs"},
        {bcCodeEAN13, "400638133393", 0, stpTopLeft, -4, 2, "bars start left of the picture's edge"},
        {bcCode39, "AB1", 90, stpBottomCenter, 2, 3, "rotated: polygons mixed with the text"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        auto draw = [&](QImage::Format format) {
            TKelBarcode b;
            setUp(b, 10, 12, 30, row.angle);
            b.SetTyp(row.type);
            b.SetText(row.value);
            b.SetShowText(bcoCode);
            b.SetShowTextPosition(row.position);
            QImage image(b.GetWidth() + 40, b.GetWidth() + 80, format);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                painter.translate(row.shiftX, row.shiftY);
                QtCanvas canvas(painter, QtCanvas::Device::Raster);
                b.DrawBarcode(canvas);
            }
            return image.convertToFormat(QImage::Format_RGB32);
        };
        const QImage direct = draw(QImage::Format_RGB32);
        const QImage painted = draw(QImage::Format_RGB888);
        expectPixels(direct, [&](int x, int y) { return colourAt(painted, x, y); });
        // Not a blank picture: both carry bars.
        EXPECT_FALSE(boxOf(direct, [](TColor v) { return v == kBar; }).isNull());
    }
}
