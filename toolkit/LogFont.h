#pragma once
// The 60-byte Windows LOGFONTA record, little-endian, as the settings file
// stores a font, and its mapping to TFont at 96 pixels per inch.

#include <array>
#include <cstdint>
#include <span>

#include "Font.h"

inline constexpr std::size_t LogFontSize = 60;
using LogFontBytes = std::array<std::uint8_t, LogFontSize>;

// The record's fields, in record order.
struct LogFont {
    std::int32_t Height = 0;        // negative: character height in pixels
    std::int32_t Width = 0;
    std::int32_t Escapement = 0;
    std::int32_t Orientation = 0;
    std::int32_t Weight = 0;
    std::uint8_t Italic = 0;
    std::uint8_t Underline = 0;
    std::uint8_t StrikeOut = 0;
    std::uint8_t CharSet = 0;
    std::uint8_t OutPrecision = 0;
    std::uint8_t ClipPrecision = 0;
    std::uint8_t Quality = 0;
    std::uint8_t PitchAndFamily = 0;
    std::array<char, 32> FaceName{};   // NUL-terminated when written by us

    bool operator==(const LogFont&) const = default;
};

inline constexpr std::int32_t FW_NORMAL = 400;
inline constexpr std::int32_t FW_BOLD = 700;

LogFont decodeLogFont(std::span<const std::uint8_t, LogFontSize> bytes);
LogFontBytes encodeLogFont(const LogFont& font);

// The font a record describes: bold from weight 700 up, italic, underline
// and strike-out when their byte is exactly 1, the pitch from the low
// nibble, the face name up to its first NUL and at most 31 characters.
// The colour is left at TFont's default; a record holds none.
TFont fontFromLogFont(const LogFont& record);

// The record for a font: weight 400 or 700, precisions, quality and family
// zero, the face name cut to 31 characters and NUL-padded.
LogFont logFontFromFont(const TFont& font);

// A font and the record it was read from.  Writing it back gives the very
// bytes that were read as long as the font has not changed, so fields that
// TFont does not carry (width, escapement, weight 600, family, quality...)
// survive a load and a save.
class StoredFont {
public:
    StoredFont() = default;
    explicit StoredFont(const LogFontBytes& bytes);

    const TFont& font() const { return font_; }
    // The bytes to write for `current`: the record read when `current` is
    // still the font it gave (colour aside), else a fresh record.
    LogFontBytes bytesFor(const TFont& current) const;

private:
    bool fromFile_ = false;
    LogFontBytes bytes_{};
    TFont font_;
};
