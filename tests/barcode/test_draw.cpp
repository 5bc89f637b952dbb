// Drawing through a recording canvas: what is drawn where, and that the
// canvas's state comes back as it was.  Pixels are tested in tests/toolkit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "Barcode.h"
#include "Canvas.h"
#include "Rotation.h"

namespace {

struct PolygonCall {
    std::array<TPoint, 4> points;
    TColor pen;
    TColor brush;
};
struct TextCall {
    int x, y;
    std::string text;
    TFont font;
    TColor pen;
    TBrush brush;
};

// Records every call; text is `charWidth` pixels a character, and any call
// number `throwAt` (counting all calls from 1) throws.
class RecordingCanvas : public TCanvas {
public:
    std::vector<PolygonCall> polygons;
    std::vector<TextCall> texts;
    int charWidth = 7;
    int throwAt = 0;

    void Polygon(const std::array<TPoint, 4>& points) override {
        tick();
        polygons.push_back({points, Pen.Color, Brush.Color()});
    }
    void TextOut(int x, int y, std::string_view text) override {
        tick();
        texts.push_back({x, y, std::string(text), Font, Pen.Color, Brush});
    }
    int TextWidth(std::string_view text) override {
        tick();
        return charWidth * static_cast<int>(text.size());
    }

private:
    void tick() {
        if (++m_calls == throwAt)
            throw std::runtime_error("canvas failed");
    }
    int m_calls = 0;
};

TFont distinctFont() {
    TFont f;
    f.Name = "Courier New";
    f.Height = -21;
    f.Italic = true;
    f.Color = 0x123456;
    return f;
}

void setDistinctState(TCanvas& canvas) {
    canvas.Font = distinctFont();
    canvas.Pen = {0xABCDEF, 3};
    canvas.Brush.SetColor(0x00FF00);
    canvas.Brush.SetStyle(TBrushStyle::bsClear);
}

void expectDistinctState(const TCanvas& canvas) {
    EXPECT_EQ(canvas.Font, distinctFont());
    EXPECT_EQ(canvas.Pen, (TPen{0xABCDEF, 3}));
    EXPECT_EQ(canvas.Brush.Color(), 0x00FF00u);
    EXPECT_EQ(canvas.Brush.Style(), TBrushStyle::bsClear);
}

// Code 128B "AB": start, A, B, check, stop; 57 modules wide at Modul 1
// (ISO/IEC 15417: 11 modules a symbol character, 13 for the stop).
void setUpAB(TKelBarcode& b) {
    b.SetTyp(bcCode128B);
    b.SetText("AB");
    b.SetHeight(40);
    b.SetLeft(10);
    b.SetTop(20);
}

}  // namespace

TEST(DrawState, CanvasStateComesBackAfterDrawingAndAfterAThrow) {
    // throwAt 0: no failure.  The others fail in the bars (first polygon,
    // a later one), in measuring the value and in writing the name line.
    // "AB" has 31 module characters: calls 1-31 are polygons, 32 measures the
    // value, 33 writes it, 34 writes the name.
    struct Row { int throwAt; std::size_t polygons, texts; const char* comment; } rows[] = {
        {0, 31, 2, "normal run"},
        {1, 0, 0, "first polygon throws"},
        {10, 9, 0, "a later polygon throws"},
        {32, 31, 0, "TextWidth of the value throws"},
        {34, 31, 1, "the name line's TextOut throws"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        TKelBarcode b;
        setUpAB(b);
        b.SetShowText(bcoBoth);
        b.SetShowTextFont(TFont{});
        RecordingCanvas canvas;
        setDistinctState(canvas);
        canvas.throwAt = row.throwAt;
        if (row.throwAt == 0)
            b.DrawBarcode(canvas);
        else
            EXPECT_THROW(b.DrawBarcode(canvas), std::runtime_error);
        EXPECT_EQ(canvas.polygons.size(), row.polygons);
        EXPECT_EQ(canvas.texts.size(), row.texts);
        expectDistinctState(canvas);
    }
}

TEST(DrawState, EncodingErrorLeavesCanvasUntouched) {
    TKelBarcode b;
    b.SetTyp(bcCode128C);
    b.SetText("12a");
    b.SetShowText(bcoBoth);
    RecordingCanvas canvas;
    setDistinctState(canvas);
    try {
        b.DrawBarcode(canvas);
        FAIL() << "expected an encoding error";
    } catch (const EBarcodeError& e) {
        EXPECT_STREQ(e.what(), "Barcode must be numeric");
    }
    EXPECT_TRUE(canvas.polygons.empty());
    EXPECT_TRUE(canvas.texts.empty());
    expectDistinctState(canvas);
}

TEST(DrawState, DrawTextAloneRestoresFontOnlyAndLeavesWhiteBrush) {
    TKelBarcode b;
    setUpAB(b);
    b.SetShowText(bcoCode);
    TFont red;
    red.Color = 0xFF0000;
    b.SetShowTextFont(red);
    RecordingCanvas canvas;
    setDistinctState(canvas);
    b.DrawText(canvas);
    ASSERT_EQ(canvas.texts.size(), 1u);
    // The text is written in the value font on a solid white box even though
    // the canvas had a clear green brush.
    EXPECT_EQ(canvas.texts[0].font, red);
    EXPECT_EQ(canvas.texts[0].pen, 0xFF0000u);
    EXPECT_EQ(canvas.texts[0].brush.Color(), clWhite);
    EXPECT_EQ(canvas.texts[0].brush.Style(), TBrushStyle::bsSolid);
    // Afterwards: font back, pen in the font colour, brush solid white.
    EXPECT_EQ(canvas.Font, distinctFont());
    EXPECT_EQ(canvas.Pen.Color, 0xFF0000u);
    EXPECT_EQ(canvas.Brush.Color(), clWhite);
    EXPECT_EQ(canvas.Brush.Style(), TBrushStyle::bsSolid);
}

TEST(DrawText, ValuePositions) {
    // W = 57 (Code 128B "AB"), Left 10, Top 20, Height 40; "AB" measures 14
    // with 7 pixels a character, or 62 with 31 (wider than the bars:
    // W - tw = -5 truncates toward zero, to -2 and not -3).
    struct Row { TShowTextPosition pos; int charWidth; int x, y; const char* comment; } rows[] = {
        {stpTopLeft, 7, 10, 20, "on the bars' top-left corner"},
        {stpTopRight, 7, 10 + 57 - 14, 20, "right edge on the bars' right edge"},
        {stpTopCenter, 7, 10 + 21, 20, "43 / 2 truncated to 21"},
        {stpBottomLeft, 7, 10, 61, "first row under a full bar: Top + Height + 1"},
        {stpBottomRight, 7, 53, 61, "right-aligned under the bars"},
        {stpBottomCenter, 7, 31, 61, "centred under the bars"},
        {stpBottomCenter, 31, 8, 61, "wider than the bars: -5 / 2 truncates to -2"},
        {stpBottomRight, 31, 5, 61, "wider than the bars: starts left of Left"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        TKelBarcode b;
        setUpAB(b);
        ASSERT_EQ(b.GetWidth(), 57);
        b.SetShowText(bcoCode);
        b.SetShowTextPosition(row.pos);
        RecordingCanvas canvas;
        canvas.charWidth = row.charWidth;
        b.DrawText(canvas);
        ASSERT_EQ(canvas.texts.size(), 1u);
        EXPECT_EQ(canvas.texts[0].text, "AB");
        EXPECT_EQ(canvas.texts[0].x, row.x);
        EXPECT_EQ(canvas.texts[0].y, row.y);
    }
}

TEST(DrawText, NameLineAboveTheBars) {
    // Top + 2.5 x Font.Height rounded half to even; the name line ignores the
    // value's position and is written after the value.
    struct Row { int fontHeight; int y; const char* comment; } rows[] = {
        {-11, 20 - 28, "-27.5 rounds to the even -28"},
        {-13, 20 - 32, "-32.5 rounds to the even -32"},
        {-16, 20 - 40, "-40 exactly"},
        {12, 20 + 30, "a positive cell height puts the name below Top"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        TKelBarcode b;
        setUpAB(b);
        b.SetShowText(bcoBoth);
        b.SetShowTextPosition(stpBottomRight);
        TFont f;
        f.Height = row.fontHeight;
        b.SetShowTextFont(f);
        RecordingCanvas canvas;
        b.DrawText(canvas);
        ASSERT_EQ(canvas.texts.size(), 2u);
        EXPECT_EQ(canvas.texts[1].text, "Code128B");
        EXPECT_EQ(canvas.texts[1].x, 10);
        EXPECT_EQ(canvas.texts[1].y, row.y);
    }
}

TEST(DrawText, OnlyTheNameWithBcoTyp) {
    TKelBarcode b;
    setUpAB(b);
    b.SetShowText(bcoTyp);
    RecordingCanvas canvas;
    b.DrawBarcode(canvas);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text, "Code128B");
}

TEST(DoLines, AngleZeroBarsAndColours) {
    // "5A0B" at Modul 2: a 2-wide bar, a 2-wide half bar, a 2-wide space and
    // a 4-wide half bar; half bars are Height * 2 div 5 = 16 high.
    TKelBarcode b;
    setUpAB(b);
    b.SetModul(2);
    b.SetColor(0x00FF00);
    b.SetColorBar(0x0000FF);
    b.MakeModules();
    RecordingCanvas canvas;
    b.DoLines("5A0B", canvas);
    ASSERT_EQ(canvas.polygons.size(), 4u);
    const std::array<TPoint, 4> expected[] = {
        {{{10, 20}, {10, 60}, {11, 60}, {11, 20}}},
        {{{12, 20}, {12, 36}, {13, 36}, {13, 20}}},
        {{{14, 20}, {14, 60}, {15, 60}, {15, 20}}},
        {{{16, 20}, {16, 36}, {19, 36}, {19, 20}}},
    };
    const TColor colours[] = {0x0000FF, 0x0000FF, 0x00FF00, 0x0000FF};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(canvas.polygons[i].points, expected[i]) << i;
        EXPECT_EQ(canvas.polygons[i].pen, colours[i]) << i;
        EXPECT_EQ(canvas.polygons[i].brush, colours[i]) << i;
    }
    EXPECT_EQ(canvas.Pen.Width, 1);
}

TEST(DoLines, BadModuleCharacterAfterSomeBars) {
    TKelBarcode b;
    setUpAB(b);
    b.MakeModules();
    RecordingCanvas canvas;
    try {
        b.DoLines("55X5", canvas);
        FAIL() << "expected the internal error";
    } catch (const EBarcodeError& e) {
        EXPECT_STREQ(e.what(), "TKelBarcode: internal Error");
    }
    EXPECT_EQ(canvas.polygons.size(), 2u);
}

TEST(Rotation, RotatedBoxStartsAtOrigin) {
    // One angle per quadrant (and the axes): the rotated rectangle's smallest
    // x and y, over its four rounded corners, land on O.  Only in the third
    // quadrant is the x shift the sum of two separate roundings, which may
    // miss the rounded corner by one.
    const TPoint o{7, 11};
    const TPoint size{123, 56};
    for (double angle : {0.0, 33.0, 90.0, 123.0, 180.0, 213.0, 270.0, 303.0, -45.0, 720.5}) {
        SCOPED_TRACE(angle);
        const double theta = AngleRadians(angle);
        const TPoint origin = RotatedOrigin(o, size, theta);
        int minX = INT32_MAX, minY = INT32_MAX;
        for (TPoint c : {TPoint{0, 0}, TPoint{size.X, 0}, TPoint{0, size.Y}, size}) {
            const TPoint p = TranslatePoint(RotatePoint(c, theta), origin);
            minX = std::min(minX, p.X);
            minY = std::min(minY, p.Y);
        }
        const bool twoRoundings = std::sin(theta) < 0 && std::cos(theta) < 0;
        EXPECT_LE(std::abs(minX - o.X), twoRoundings ? 1 : 0);
        EXPECT_EQ(minY, o.Y);
    }
}

TEST(Rotation, RightAnglesAndHalves) {
    // At 90 degrees the double nearest pi/2 leaves a tiny positive cosine, at
    // 180 a tiny positive sine: origins as worked out by hand for W = 123,
    // H = 56; at 270 the cosine is a tiny negative number.
    EXPECT_EQ(RotatedOrigin({3, 4}, {123, 56}, AngleRadians(90)), (TPoint{3, 4 + 123}));
    EXPECT_EQ(RotatedOrigin({3, 4}, {123, 56}, AngleRadians(180)), (TPoint{3 + 123, 4 + 56}));
    EXPECT_EQ(RotatedOrigin({3, 4}, {123, 56}, AngleRadians(270)), (TPoint{3 + 56, 4}));
    EXPECT_EQ(RotatePoint({10, 0}, AngleRadians(90)), (TPoint{0, -10}));
    EXPECT_EQ(RotatePoint({10, 5}, AngleRadians(180)), (TPoint{-10, -5}));
    EXPECT_EQ(RotatePoint({10, 0}, AngleRadians(30)), (TPoint{9, -5}));  // (8.66, -5)
    EXPECT_EQ(RotatePoint({0, 10}, AngleRadians(30)), (TPoint{5, 9}));   // (5, 8.66)
    EXPECT_EQ(TranslatePoint({1, 2}, {30, 40}), (TPoint{31, 42}));
}
