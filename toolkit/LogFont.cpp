#include "LogFont.h"

#include <algorithm>
#include <cstring>

namespace {

std::int32_t readInt32(std::span<const std::uint8_t, LogFontSize> bytes, std::size_t at) {
    std::uint32_t value = std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
                          std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24;
    return static_cast<std::int32_t>(value);
}

void writeInt32(LogFontBytes& bytes, std::size_t at, std::int32_t value) {
    auto raw = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(raw >> (8 * i));
}

// Byte offsets of the record's fields.
constexpr std::size_t HeightAt = 0, WidthAt = 4, EscapementAt = 8, OrientationAt = 12,
                      WeightAt = 16, ItalicAt = 20, UnderlineAt = 21, StrikeOutAt = 22,
                      CharSetAt = 23, OutPrecisionAt = 24, ClipPrecisionAt = 25, QualityAt = 26,
                      PitchAndFamilyAt = 27, FaceNameAt = 28, FaceNameSize = 32;

constexpr std::uint8_t DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2;

}  // namespace

LogFont decodeLogFont(std::span<const std::uint8_t, LogFontSize> bytes) {
    LogFont f;
    f.Height = readInt32(bytes, HeightAt);
    f.Width = readInt32(bytes, WidthAt);
    f.Escapement = readInt32(bytes, EscapementAt);
    f.Orientation = readInt32(bytes, OrientationAt);
    f.Weight = readInt32(bytes, WeightAt);
    f.Italic = bytes[ItalicAt];
    f.Underline = bytes[UnderlineAt];
    f.StrikeOut = bytes[StrikeOutAt];
    f.CharSet = bytes[CharSetAt];
    f.OutPrecision = bytes[OutPrecisionAt];
    f.ClipPrecision = bytes[ClipPrecisionAt];
    f.Quality = bytes[QualityAt];
    f.PitchAndFamily = bytes[PitchAndFamilyAt];
    std::memcpy(f.FaceName.data(), bytes.data() + FaceNameAt, FaceNameSize);
    return f;
}

LogFontBytes encodeLogFont(const LogFont& f) {
    LogFontBytes bytes{};
    writeInt32(bytes, HeightAt, f.Height);
    writeInt32(bytes, WidthAt, f.Width);
    writeInt32(bytes, EscapementAt, f.Escapement);
    writeInt32(bytes, OrientationAt, f.Orientation);
    writeInt32(bytes, WeightAt, f.Weight);
    bytes[ItalicAt] = f.Italic;
    bytes[UnderlineAt] = f.Underline;
    bytes[StrikeOutAt] = f.StrikeOut;
    bytes[CharSetAt] = f.CharSet;
    bytes[OutPrecisionAt] = f.OutPrecision;
    bytes[ClipPrecisionAt] = f.ClipPrecision;
    bytes[QualityAt] = f.Quality;
    bytes[PitchAndFamilyAt] = f.PitchAndFamily;
    std::memcpy(bytes.data() + FaceNameAt, f.FaceName.data(), FaceNameSize);
    return bytes;
}

TFont fontFromLogFont(const LogFont& record) {
    TFont font;
    font.Height = record.Height;
    font.Bold = record.Weight >= FW_BOLD;
    font.Italic = record.Italic == 1;
    font.Underline = record.Underline == 1;
    font.StrikeOut = record.StrikeOut == 1;
    font.Charset = record.CharSet;
    // At most 31 characters, even when the record has no NUL.
    const char* face = record.FaceName.data();
    font.Name.assign(face, std::find(face, face + record.FaceName.size() - 1, '\0'));
    switch (record.PitchAndFamily & 0x0F) {
    case FIXED_PITCH: font.Pitch = TFontPitch::fpFixed; break;
    case VARIABLE_PITCH: font.Pitch = TFontPitch::fpVariable; break;
    default: font.Pitch = TFontPitch::fpDefault; break;
    }
    return font;
}

LogFont logFontFromFont(const TFont& font) {
    LogFont record;
    record.Height = font.Height;
    record.Weight = font.Bold ? FW_BOLD : FW_NORMAL;
    record.Italic = font.Italic ? 1 : 0;
    record.Underline = font.Underline ? 1 : 0;
    record.StrikeOut = font.StrikeOut ? 1 : 0;
    record.CharSet = font.Charset;
    switch (font.Pitch) {
    case TFontPitch::fpFixed: record.PitchAndFamily = FIXED_PITCH; break;
    case TFontPitch::fpVariable: record.PitchAndFamily = VARIABLE_PITCH; break;
    case TFontPitch::fpDefault: record.PitchAndFamily = DEFAULT_PITCH; break;
    }
    // A NUL inside the name ends it, as it would when read back.
    std::size_t length = std::min({font.Name.size(), record.FaceName.size() - 1,
                                   font.Name.find('\0')});
    std::memcpy(record.FaceName.data(), font.Name.data(), length);
    return record;
}

StoredFont::StoredFont(const LogFontBytes& bytes)
    : fromFile_(true), bytes_(bytes), font_(fontFromLogFont(decodeLogFont(bytes))) {}

LogFontBytes StoredFont::bytesFor(const TFont& current) const {
    if (fromFile_) {
        TFont withoutColour = current;
        withoutColour.Color = font_.Color;
        if (withoutColour == font_) return bytes_;
    }
    return encodeLogFont(logFontFromFont(current));
}
