// The settings file: the 360-byte record and three 60-byte LOGFONTA
// records, read and written on real files in a temporary folder.  Expected
// bytes are laid out by hand from the record's field table and the Windows
// LOGFONTA layout, never produced by the code under test.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Desktop.h"
#include "FakeDesktop.h"
#include "FakeSettingsControls.h"
#include "Settings.h"
#include "TempDir.h"

namespace {

using FakeControls = FakeSettingsControls;

// Little-endian helpers for building expected files by hand.
void putLE(std::string& b, std::size_t at, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}
void putText(std::string& b, std::size_t at, const std::string& t) {
    std::memcpy(b.data() + at, t.data(), t.size());
}

struct Record {
    std::int16_t typeIndex = 0;
    std::int32_t heightMM = 0;
    std::string value{};
    std::uint8_t showValue = 0;
    std::string line1{}, line2{};
};

std::string recordBytes(const Record& r) {
    std::string b(360, '\0');
    putLE(b, 0, std::uint16_t(r.typeIndex), 2);
    putLE(b, 4, std::uint32_t(r.heightMM), 4);
    putText(b, 8, r.value);
    b[88] = char(r.showValue);
    putText(b, 200, r.line1);
    putText(b, 280, r.line2);
    return b;
}

struct Font {
    std::int32_t height = -16, weight = 400;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 1, pitchAndFamily = 0;
    std::string face = "MS Sans Serif";
};

std::string fontBytes(const Font& f) {
    std::string b(60, '\0');
    putLE(b, 0, std::uint32_t(f.height), 4);
    putLE(b, 16, std::uint32_t(f.weight), 4);
    b[20] = char(f.italic);
    b[21] = char(f.underline);
    b[22] = char(f.strikeOut);
    b[23] = char(f.charSet);
    b[27] = char(f.pitchAndFamily);
    putText(b, 28, f.face);
    return b;
}

std::string designFile(const Record& r) {
    return recordBytes(r) + fontBytes({}) + fontBytes({}) + fontBytes({});
}

class SettingsFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path file = dir / SettingsFileName;

    // Saves from a fresh store after a gather, as the close handler does.
    std::string gatherAndSave(const FakeControls& controls) {
        SettingsStore store(file);
        FakeDesktop desktop;
        store.GatherSettings(controls, desktop);
        EXPECT_TRUE(desktop.errors.empty());
        EXPECT_TRUE(store.SaveSettings(controls));
        return readFile(file);
    }

    // Starts a window: a fresh store and design controls, then a load.
    FakeControls restart(bool expectFound = true) {
        FakeControls controls;
        SettingsStore store(file);
        EXPECT_EQ(store.LoadSettings(controls), expectFound);
        return controls;
    }
};

}  // namespace

TEST_F(SettingsFileTest, FirstRunWritesTheDesignStateByteForByte) {
    // The file goes to the current folder under its bare name.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    FakeControls controls;
    SettingsStore store;
    EXPECT_FALSE(store.LoadSettings(controls));
    FakeDesktop desktop;
    store.GatherSettings(controls, desktop);
    bool saved = store.SaveSettings(controls);
    std::filesystem::current_path(previous);

    ASSERT_TRUE(saved);
    std::string expected = designFile({.typeIndex = 0, .heightMM = 20, .value = "12345678", .showValue = 1});
    ASSERT_EQ(expected.size(), 540u);
    EXPECT_EQ(readFile(file), expected);
}

TEST_F(SettingsFileTest, AMissingFileChangesNothing) {
    FakeControls controls;
    controls.value = "untouched";
    SettingsStore store(file);
    EXPECT_FALSE(store.LoadSettings(controls));
    EXPECT_EQ(controls.value, "untouched");
    EXPECT_EQ(controls.fontsSet, 0);

    // A folder in the file's place cannot be read either.
    std::filesystem::create_directory(file);
    EXPECT_FALSE(store.LoadSettings(controls));
    EXPECT_EQ(controls.value, "untouched");
}

TEST_F(SettingsFileTest, TheValueIsUpperCasedExceptForCode128BAndEAN128) {
    struct Case {
        int index;
        std::string typed, stored;
        const char* note;
    };
    const Case cases[] = {
        {0, "abc-xyz", "abc-xyz", "Code 128B keeps the case"},
        {1, "(01)abc", "(01)abc", "EAN128 keeps the case"},
        {2, "code39 abc", "CODE39 ABC", "Code 39"},
        {3, "hello", "HELLO", "Code 93"},
        {5, "12a", "12A", "EAN13"},
        {8, "x", "X", "Code 128C"},
        {-1, "none", "NONE", "no selection upper-cases too"},
        // Latin-1: é (E9) -> É (C9), ø (F8) -> Ø (D8); ÷ (F7), ß (DF) and ÿ (FF) have no upper case.
        {2, "caf\xE9 \xF8 \xF7 \xDF \xFF", "CAF\xC9 \xD8 \xF7 \xDF \xFF", "Latin-1 letters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        FakeControls controls;
        controls.index = c.index;
        controls.value = c.typed;
        std::string bytes = gatherAndSave(controls);
        EXPECT_EQ(bytes.substr(8, c.stored.size() + 1), c.stored + '\0');
        FakeControls after = restart();
        EXPECT_EQ(after.value, c.stored);
        EXPECT_EQ(after.index, c.index);
    }
}

TEST_F(SettingsFileTest, ShortFilesFillWhatTheyHave) {
    const Record stored{.typeIndex = 3, .heightMM = 35, .value = "ABC", .showValue = 1, .line1 = "one", .line2 = "two"};
    const Font bold{.height = -21, .weight = 700, .charSet = 0, .face = "Arial"};
    const std::string full = recordBytes(stored) + fontBytes(bold) + fontBytes(bold) + fontBytes(bold);
    const TFont boldFont{.Name = "Arial", .Height = -21, .Bold = true, .Charset = 0};

    struct Case {
        std::size_t length;
        int fontsTaken;   // fonts whose 60 bytes are all present
        const char* note;
    };
    const Case cases[] = {
        {0, 0, "empty file: zero record, design fonts"},
        {200, 0, "record cut inside the reserved bytes"},
        {360, 0, "whole record, no fonts"},
        {419, 0, "value font one byte short"},
        {420, 1, "value font only"},
        {479, 1, "line 1 font one byte short"},
        {539, 2, "line 2 font one byte short"},
        {540, 3, "whole file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        writeFile(file, full.substr(0, c.length));
        FakeControls controls = restart();
        if (c.length == 0) {
            EXPECT_EQ(controls.value, "");
            EXPECT_EQ(controls.height, "0");
            EXPECT_EQ(controls.heightPosition, 0);
            EXPECT_FALSE(controls.display);
            EXPECT_EQ(controls.index, 0);
            EXPECT_EQ(controls.line1, "");
        } else if (c.length == 200) {
            EXPECT_EQ(controls.value, "ABC");
            EXPECT_EQ(controls.height, "35");
            EXPECT_TRUE(controls.display);
            EXPECT_EQ(controls.index, 3);
            EXPECT_EQ(controls.line1, "");
            EXPECT_EQ(controls.line2, "");
        } else {
            EXPECT_EQ(controls.value, "ABC");
            EXPECT_EQ(controls.height, "35");
            EXPECT_EQ(controls.heightPosition, 35);
            EXPECT_TRUE(controls.display);
            EXPECT_EQ(controls.index, 3);
            EXPECT_EQ(controls.line1, "one");
            EXPECT_EQ(controls.line2, "two");
        }
        for (int i = 0; i < 3; ++i) EXPECT_EQ(controls.fonts[i], i < c.fontsTaken ? boldFont : DesignFont) << i;
        EXPECT_EQ(controls.showTextFont.Bold, c.fontsTaken >= 1);
    }
}

TEST_F(SettingsFileTest, LongTextsAreStoredAsTheirFirst80Bytes) {
    struct Case {
        std::size_t length;
        const char* note;
    };
    for (const Case& c : {Case{79, "one NUL left"}, Case{80, "fills the field, no NUL"}, Case{100, "cut to 80"}}) {
        SCOPED_TRACE(c.note);
        std::string text;
        for (std::size_t i = 0; i < c.length; ++i) text += char('A' + i % 26);
        const std::string kept = text.substr(0, 80);
        FakeControls controls;
        controls.value = controls.line1 = controls.line2 = text;
        std::string bytes = gatherAndSave(controls);
        ASSERT_EQ(bytes.size(), 540u);
        for (std::size_t at : {8u, 200u, 280u}) {
            std::string field = bytes.substr(at, 80);
            EXPECT_EQ(field, kept + std::string(80 - kept.size(), '\0')) << at;
        }
        EXPECT_EQ(bytes[88], 1);   // the byte after a full value field is ShowValue
        FakeControls after = restart();
        EXPECT_EQ(after.value, kept);
        EXPECT_EQ(after.line1, kept);
        EXPECT_EQ(after.line2, kept);
    }
}

TEST_F(SettingsFileTest, AHeightThatIsNoIntegerKeepsTheLastHeightAndSymbology) {
    SettingsStore store(file);
    FakeDesktop desktop;
    FakeControls controls;
    controls.index = 3;
    controls.height = "30";
    store.GatherSettings(controls, desktop);
    ASSERT_TRUE(desktop.errors.empty());

    struct Case {
        std::string height;
        bool valid;
        const char* note;
    };
    const Case cases[] = {
        {"2O", false, "letter O for zero"},
        {"", false, "empty"},
        {"12 ", false, "trailing blank"},
        {"1.5", false, "not whole"},
        {"2147483648", false, "beyond 32 bits"},
        {" 12", true, "leading blank"},
        {"-7", true, "negative"},
        {"+45", true, "plus sign"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        desktop.errors.clear();
        store.record().HeightMM = 30;
        store.record().TypeIndex = 3;
        controls.height = c.height;
        controls.index = 5;
        controls.value = "new";
        controls.display = false;
        controls.line1 = "first";
        controls.line2 = "second";
        store.GatherSettings(controls, desktop);
        if (c.valid) {
            EXPECT_TRUE(desktop.errors.empty());
            EXPECT_EQ(store.record().HeightMM, std::stoi(c.height));
            EXPECT_EQ(store.record().TypeIndex, 5);
        } else {
            ASSERT_EQ(desktop.errors.size(), 1u);
            EXPECT_EQ(desktop.errors[0], "'" + c.height + "' is not a valid integer value");
            EXPECT_EQ(store.record().HeightMM, 30);
            EXPECT_EQ(store.record().TypeIndex, 3);
        }
        // The other fields are gathered either way.
        EXPECT_EQ(settingsText(store.record().ValueText), "NEW");
        EXPECT_EQ(store.record().ShowValue, 0);
        EXPECT_EQ(settingsText(store.record().Line1Text), "first");
        EXPECT_EQ(settingsText(store.record().Line2Text), "second");
    }
}

TEST_F(SettingsFileTest, FontStylesSurviveARestartButColoursDoNot) {
    FakeControls controls;
    controls.fonts[0] = {.Name = "Arial", .Height = -24, .Bold = true, .Italic = true, .Color = 0xFF0000};
    controls.fonts[1] = {.Name = "Courier New", .Height = -13, .Underline = true, .StrikeOut = true,
                         .Charset = 0, .Pitch = TFontPitch::fpFixed, .Color = 0x00FF00};
    controls.fonts[2] = {.Name = "Times New Roman", .Height = -19, .Bold = true, .StrikeOut = true,
                         .Charset = 238, .Pitch = TFontPitch::fpVariable};
    gatherAndSave(controls);

    FakeControls after = restart();
    for (int i = 0; i < 3; ++i) {
        TFont expected = controls.fonts[i];
        expected.Color = DesignFont.Color;   // the control's own colour stays
        EXPECT_EQ(after.fonts[i], expected) << i;
    }
    EXPECT_EQ(after.showTextFont, after.fonts[0]);
}

TEST_F(SettingsFileTest, ReservedBytesAndUnchangedFontRecordsComeBackUnchanged) {
    std::string written = designFile({.typeIndex = 2, .heightMM = 15, .value = "OLD", .showValue = 1});
    for (std::size_t i = 2; i < 4; ++i) written[i] = char(0xA0 + i);
    for (std::size_t i = 89; i < 200; ++i) written[i] = char(i);
    // A value font as another program might write it: semibold, a width,
    // FF_SWISS|VARIABLE_PITCH, proof quality, garbage after the face's NUL.
    std::string odd = fontBytes({.height = -15, .weight = 600, .charSet = 0, .pitchAndFamily = 0x22, .face = "Arial"});
    putLE(odd, 4, 7, 4);
    odd[26] = 2;
    putText(odd, 34, "junk");
    written.replace(360, 60, odd);
    writeFile(file, written);

    SettingsStore store(file);
    FakeControls controls;
    ASSERT_TRUE(store.LoadSettings(controls));
    controls.value = "NEW";
    controls.height = "44";
    controls.fonts[2].Italic = true;   // only line 2's font changes
    FakeDesktop desktop;
    store.GatherSettings(controls, desktop);
    ASSERT_TRUE(store.SaveSettings(controls));

    std::string expected = written;
    expected.replace(0, 360, recordBytes({.typeIndex = 2, .heightMM = 44, .value = "NEW", .showValue = 1}));
    for (std::size_t i = 2; i < 4; ++i) expected[i] = char(0xA0 + i);
    for (std::size_t i = 89; i < 200; ++i) expected[i] = char(i);
    expected.replace(480, 60, fontBytes({.italic = 1}));
    EXPECT_EQ(readFile(file), expected);
}

TEST_F(SettingsFileTest, ALongerFileLosesItsExcessAtTheNextSave) {
    const std::string good = designFile({.typeIndex = 1, .heightMM = 12, .value = "v", .showValue = 1, .line1 = "l"});
    writeFile(file, good + std::string(300, '\x5A'));
    SettingsStore store(file);
    FakeControls controls;
    ASSERT_TRUE(store.LoadSettings(controls));
    EXPECT_EQ(controls.value, "v");
    FakeDesktop desktop;
    store.GatherSettings(controls, desktop);
    ASSERT_TRUE(store.SaveSettings(controls));
    EXPECT_EQ(readFile(file), good);
}

TEST_F(SettingsFileTest, DamagedNumbersAreAppliedAsStored) {
    // An index outside the list and a height beyond the spinner's 16 bits.
    writeFile(file, recordBytes({.typeIndex = 42, .heightMM = 70000}));
    FakeControls controls = restart();
    EXPECT_EQ(controls.index, 42);
    EXPECT_EQ(controls.height, "70000");
    EXPECT_EQ(controls.heightPosition, std::int16_t(70000 - 65536));

    writeFile(file, recordBytes({.typeIndex = -1, .heightMM = -5}));
    controls = restart();
    EXPECT_EQ(controls.index, -1);
    EXPECT_EQ(controls.height, "-5");
}

TEST_F(SettingsFileTest, AFailedSaveLeavesTheOldFileWhole) {
    const std::string old = designFile({.heightMM = 9, .value = "KEEP"});
    std::filesystem::create_directory(dir / "ro");
    writeFile(dir / "ro" / SettingsFileName, old);
    std::filesystem::permissions(dir / "ro", std::filesystem::perms(0555));
    FakeControls controls;
    controls.value = "LOST";
    SettingsStore store(dir / "ro" / SettingsFileName);
    if (writeBitsAreIgnored(dir / "ro")) {
        // Root writes anyway; a file in place of the folder fails for everyone.
        SettingsStore nowhere(dir / "ro" / SettingsFileName / "x");
        EXPECT_FALSE(nowhere.SaveSettings(controls));
    } else {
        EXPECT_FALSE(store.SaveSettings(controls));
    }
    EXPECT_EQ(readFile(dir / "ro" / SettingsFileName), old);
}
