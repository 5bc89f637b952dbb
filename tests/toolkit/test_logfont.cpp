// The 60-byte LOGFONTA record and its mapping to TFont.  Expected records
// are built byte by byte from the Windows LOGFONTA layout (wingdi.h:
// LONG lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight; BYTE
// lfItalic .. lfPitchAndFamily; CHAR lfFaceName[32]).

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "LogFont.h"

namespace {

struct RecordFields {
    std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 400;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    std::uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::string face;   // up to 32 bytes, copied as is
};

void putLong(LogFontBytes& b, std::size_t at, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    b[at] = u & 0xFF;
    b[at + 1] = (u >> 8) & 0xFF;
    b[at + 2] = (u >> 16) & 0xFF;
    b[at + 3] = (u >> 24) & 0xFF;
}

LogFontBytes record(const RecordFields& f) {
    LogFontBytes b{};
    putLong(b, 0, f.height);
    putLong(b, 4, f.width);
    putLong(b, 8, f.escapement);
    putLong(b, 12, f.orientation);
    putLong(b, 16, f.weight);
    b[20] = f.italic;
    b[21] = f.underline;
    b[22] = f.strikeOut;
    b[23] = f.charSet;
    b[24] = f.outPrecision;
    b[25] = f.clipPrecision;
    b[26] = f.quality;
    b[27] = f.pitchAndFamily;
    std::memcpy(b.data() + 28, f.face.data(), std::min<std::size_t>(f.face.size(), 32));
    return b;
}

TFont fontOf(const LogFontBytes& bytes) {
    return fontFromLogFont(decodeLogFont(bytes));
}

}  // namespace

TEST(LogFont, ReadsEachFieldOfARecord) {
    struct Case {
        const char* note;
        RecordFields fields;
        TFont expected;
    };
    const std::string face32(32, 'F');   // fills the field without a NUL
    const Case cases[] = {
        // The window's design font: MS Sans Serif, 16-pixel characters, regular, default charset.
        {"design font", {.height = -16, .charSet = 1, .face = "MS Sans Serif"},
         {.Name = "MS Sans Serif", .Height = -16}},
        // FW_BOLD is 700; FW_SEMIBOLD (600) is not bold, FW_HEAVY (900) is.
        {"weight 700", {.height = -13, .weight = 700, .face = "Arial"}, {.Name = "Arial", .Height = -13, .Bold = true, .Charset = 0}},
        {"weight 600", {.height = -13, .weight = 600, .face = "Arial"}, {.Name = "Arial", .Height = -13, .Charset = 0}},
        {"weight 900", {.height = -13, .weight = 900, .face = "Arial"}, {.Name = "Arial", .Height = -13, .Bold = true, .Charset = 0}},
        // Style bytes count only when exactly 1.
        {"styles 1", {.height = -20, .italic = 1, .underline = 1, .strikeOut = 1, .face = "Tahoma"},
         {.Name = "Tahoma", .Height = -20, .Italic = true, .Underline = true, .StrikeOut = true, .Charset = 0}},
        {"styles 255", {.height = -20, .italic = 255, .underline = 2, .strikeOut = 255, .face = "Tahoma"},
         {.Name = "Tahoma", .Height = -20, .Charset = 0}},
        // Low nibble of lfPitchAndFamily: FIXED_PITCH 1, VARIABLE_PITCH 2; the family nibble is ignored.
        {"FF_MODERN|FIXED_PITCH", {.height = -12, .charSet = 238, .pitchAndFamily = 0x31, .face = "Courier New"},
         {.Name = "Courier New", .Height = -12, .Charset = 238, .Pitch = TFontPitch::fpFixed}},
        {"FF_SWISS|VARIABLE_PITCH", {.height = -12, .pitchAndFamily = 0x22, .face = "Arial"},
         {.Name = "Arial", .Height = -12, .Charset = 0, .Pitch = TFontPitch::fpVariable}},
        {"pitch nibble 3", {.height = -12, .pitchAndFamily = 0x03, .face = "Arial"}, {.Name = "Arial", .Height = -12, .Charset = 0}},
        // A positive height is a cell height and is kept as is.
        {"cell height", {.height = 19, .face = "Verdana"}, {.Name = "Verdana", .Height = 19, .Charset = 0}},
        // A face without NUL is cut to the 31 characters LOGFONTA allows.
        {"32-byte face", {.height = -16, .face = face32}, {.Name = std::string(31, 'F'), .Height = -16, .Charset = 0}},
        // Latin-1 bytes in a face name survive.
        {"Latin-1 face", {.height = -16, .face = "Caf\xE9 Sans"}, {.Name = "Caf\xE9 Sans", .Height = -16, .Charset = 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(fontOf(record(c.fields)), c.expected);
    }
}

TEST(LogFont, WritesTheDesignFontAsTheWindowsLayout) {
    TFont design{.Name = "MS Sans Serif", .Height = -16};
    LogFontBytes expected = record({.height = -16, .weight = 400, .charSet = 1, .face = "MS Sans Serif"});
    EXPECT_EQ(encodeLogFont(logFontFromFont(design)), expected);
}

TEST(LogFont, FaceNamesAreCutAndNulTerminated) {
    TFont longName{.Name = std::string(40, 'x'), .Height = -16};
    LogFontBytes bytes = encodeLogFont(logFontFromFont(longName));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 28), 31), std::string(31, 'x'));
    EXPECT_EQ(bytes[59], 0);
}

TEST(LogFont, EveryStyleAndPitchSurvivesAWriteAndARead) {
    for (int mask = 0; mask < 16; ++mask) {
        for (TFontPitch pitch : {TFontPitch::fpDefault, TFontPitch::fpVariable, TFontPitch::fpFixed}) {
            TFont font{.Name = "Century Gothic", .Height = -21, .Bold = bool(mask & 1), .Italic = bool(mask & 2),
                       .Underline = bool(mask & 4), .StrikeOut = bool(mask & 8), .Charset = 161,
                       .Pitch = pitch};
            SCOPED_TRACE(mask);
            EXPECT_EQ(fontOf(encodeLogFont(logFontFromFont(font))), font);
            // 21 pixels at 96 pixels per inch are 16 points (15.75 rounded).
            EXPECT_EQ(fontOf(encodeLogFont(logFontFromFont(font))).Size(), 16);
        }
    }
}

TEST(StoredFont, AnUnchangedFontIsWrittenBackAsRead) {
    // Fields TFont does not carry, and bytes after the face's NUL.
    RecordFields odd{.height = -15, .width = 7, .escapement = 900, .orientation = 900, .weight = 600,
                     .italic = 2, .charSet = 204, .outPrecision = 3, .clipPrecision = 2, .quality = 5,
                     .pitchAndFamily = 0x32, .face = std::string("Arial\0junk", 10)};
    LogFontBytes read = record(odd);
    StoredFont stored(read);

    TFont current = stored.font();
    EXPECT_EQ(stored.bytesFor(current), read);

    current.Color = 0xFF0000;   // colour lives outside the record
    EXPECT_EQ(stored.bytesFor(current), read);

    current.Bold = true;        // a real change: a fresh record
    EXPECT_EQ(stored.bytesFor(current),
              record({.height = -15, .weight = 700, .charSet = 204, .pitchAndFamily = 2, .face = "Arial"}));
}

TEST(StoredFont, AFontNotReadFromAFileIsWrittenFresh) {
    StoredFont none;
    TFont font{.Name = "MS Sans Serif", .Height = -16};
    EXPECT_EQ(none.bytesFor(font), record({.height = -16, .charSet = 1, .face = "MS Sans Serif"}));
}
