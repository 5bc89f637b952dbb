#pragma once
// Font and colour values of the engine: plain data, no toolkit.

#include <cmath>
#include <cstdint>
#include <string>

// 24-bit RGB, 0xRRGGBB.
using TColor = std::uint32_t;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlack = 0x000000;

enum class TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

inline constexpr std::uint8_t DEFAULT_CHARSET = 1;
inline constexpr int ScreenPixelsPerInch = 96;

// A font as the engine and the settings file know it.  Height is the
// platform's height value: negative for a font sized in points (the
// character height in pixels), positive for a cell height.
struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = -11;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    std::uint8_t Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = TFontPitch::fpDefault;
    TColor Color = clBlack;

    // Size in points at 96 pixels per inch, rounded half to even.
    int Size() const {
        return static_cast<int>(std::nearbyint(-Height * 72.0 / ScreenPixelsPerInch));
    }
    void SetSize(int points) {
        Height = -static_cast<int>(std::nearbyint(points * double(ScreenPixelsPerInch) / 72.0));
    }

    bool operator==(const TFont&) const = default;
};
