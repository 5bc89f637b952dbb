// TFont <-> QFont: the faces the font database really picks, pixel sizes,
// and the attributes that survive a round trip.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "FontMapping.h"

TEST(FontMapping, WindowsFacesResolveToInstalledSubstitutes) {
    // Liberation faces are metric-compatible with the Windows core fonts
    // (fonts-liberation); MS Sans Serif and Century Gothic have fixed stand-ins.
    struct Row { const char* name; const char* family; } rows[] = {
        {"MS Sans Serif", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
        {"arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Century Gothic", "URW Gothic"},
        {"DejaVu Sans", "DejaVu Sans"},
    };
    for (const Row& row : rows) {
        TFont font;
        font.Name = row.name;
        // Qt adds " [foundry]" when one family comes in two formats.
        const QString family = QFontInfo(toQFont(font)).family();
        EXPECT_EQ(family.section(QStringLiteral(" ["), 0, 0).toStdString(), row.family) << row.name;
    }
}

TEST(FontMapping, HeightsArePixelSizes) {
    // Negative: character height in pixels.  Positive: cell height, so
    // ascent + descent comes out at that many pixels (within rounding).
    TFont font;
    font.Name = "Arial";
    for (int pixels : {8, 11, 16, 40}) {
        font.Height = -pixels;
        EXPECT_EQ(QFontInfo(toQFont(font)).pixelSize(), pixels);
    }
    for (int cell : {12, 19, 50}) {
        font.Height = cell;
        const QFontMetrics fm(toQFont(font));
        EXPECT_NEAR(fm.ascent() + fm.descent(), cell, 1) << cell;
    }
}

TEST(FontMapping, RoundTripKeepsStyleSizeAndColour) {
    TFont font;
    font.Name = "Liberation Serif";
    font.Height = -21;
    font.Bold = true;
    font.Italic = true;
    font.Underline = true;
    font.StrikeOut = true;
    font.Color = 0x336699;
    const TFont back = fromQFont(toQFont(font), font.Color);
    EXPECT_EQ(back, font);
    // A point-sized QFont comes back in pixels at 96 per inch: 12 pt = 16 px.
    QFont points("Liberation Sans");
    points.setPointSize(12);
    EXPECT_EQ(fromQFont(points).Height, -16);
    EXPECT_EQ(fromQFont(points).Size(), 12);
}
