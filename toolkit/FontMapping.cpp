#include "FontMapping.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <array>
#include <cmath>
#include <utility>

namespace {

struct Substitute {
    const char* windowsName;
    const char* family;
};

constexpr std::array<Substitute, 5> kSubstitutes = {{
    {"MS Sans Serif", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Century Gothic", "URW Gothic"},
}};

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Qt refuses pixel sizes below 1; very large ones are drawn as outlines and
// clipped, but there is no use in sizes beyond a picture's side.
constexpr int kMaxPixelSize = 32767;
constexpr int kDefaultCellHeight = 16;

int clampPixelSize(double pixels) {
    if (!(pixels >= 1.0))
        return 1;
    if (pixels > kMaxPixelSize)
        return kMaxPixelSize;
    return static_cast<int>(std::nearbyint(pixels));
}

}  // namespace

QString substituteFamily(std::string_view name) {
    for (const Substitute& s : kSubstitutes)
        if (sameIgnoringAsciiCase(name, s.windowsName))
            return QString::fromLatin1(s.family);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QFont toQFont(const TFont& font) {
    QFont q(substituteFamily(font.Name));
    q.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    q.setHintingPreference(QFont::PreferFullHinting);
    q.setBold(font.Bold);
    q.setItalic(font.Italic);
    q.setUnderline(font.Underline);
    q.setStrikeOut(font.StrikeOut);
    if (font.Pitch == TFontPitch::fpFixed) {
        q.setFixedPitch(true);
        q.setStyleHint(QFont::TypeWriter, q.styleStrategy());
    }
    if (font.Height < 0) {
        q.setPixelSize(clampPixelSize(-static_cast<double>(font.Height)));
    } else {
        // A cell height: scale a probe so that ascent + descent match it.
        const double cell = font.Height == 0 ? kDefaultCellHeight : font.Height;
        constexpr int probe = 100;
        q.setPixelSize(probe);
        const QFontMetricsF metrics(q);
        const double probeCell = metrics.ascent() + metrics.descent();
        q.setPixelSize(clampPixelSize(probeCell > 0 ? cell * probe / probeCell : cell));
    }
    return q;
}

TFont fromQFont(const QFont& font, TColor color) {
    TFont t;
    t.Name = font.family().toLatin1().toStdString();
    if (font.pixelSize() > 0)
        t.Height = -font.pixelSize();
    else
        t.Height = -static_cast<int>(std::nearbyint(font.pointSizeF() * ScreenPixelsPerInch / 72.0));
    t.Bold = font.weight() >= QFont::Bold;
    t.Italic = font.italic();
    t.Underline = font.underline();
    t.StrikeOut = font.strikeOut();
    t.Pitch = font.fixedPitch() ? TFontPitch::fpFixed : TFontPitch::fpDefault;
    t.Color = color & 0xFFFFFFu;
    return t;
}
