// Code 128 and EAN-128 in one code set: module strings, symbol values,
// check values, the code set C padding and the EAN-128 check digit.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Barcode.h"

namespace {

constexpr const char* kStopModules = "6270506";  // stop 2331112, ISO/IEC 15417

// The module codes of symbol value v, taken from a symbol where v stands as
// data: a set C pair for 0..99, FNC1 of EAN-128 for 102.  The decoder tests
// show independently that these data symbols read as the standard says.
std::string symbolOfValue(int v) {
    TKelBarcode b;
    if (v == 102) {
        b.SetTyp(bcCodeEAN128C);
        b.SetText("");
    } else {
        b.SetTyp(bcCode128C);
        b.SetText(std::string{char('0' + v / 10), char('0' + v % 10)});
    }
    return b.MakeData().substr(6, 6);
}

struct Split {
    std::string start;
    std::vector<std::string> symbols;  // FNC1 and data, in order
    std::string check;
    std::string stop;
};

// Cuts a Code 128 module string into start, symbols, check and stop.
Split split(const std::string& modules) {
    Split s;
    if (modules.size() < 19 || (modules.size() - 7) % 6 != 0) {
        ADD_FAILURE() << "not a Code 128 module string: " << modules;
        return s;
    }
    const std::size_t body = modules.size() - 7;
    s.start = modules.substr(0, 6);
    for (std::size_t i = 6; i + 6 < body; i += 6)
        s.symbols.push_back(modules.substr(i, 6));
    s.check = modules.substr(body - 6, 6);
    s.stop = modules.substr(body);
    return s;
}

std::string errorOf(TKelBarcode& b) {
    try {
        b.MakeData();
    } catch (const EBarcodeError& e) {
        return e.what();
    }
    return {};
}

}  // namespace

// Symbol patterns that the standard lists (ISO/IEC 15417 table 1), bar first.
TEST(Code128, SymbolPatternsOfTheStandard) {
    struct Case {
        int value;
        const char* widths;
    };
    const Case cases[] = {
        {0, "212222"}, {1, "222122"}, {12, "112232"}, {33, "111323"},
        {34, "131123"}, {99, "113141"}, {102, "411131"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(symbolOfValue(c.value), TKelBarcode::PatternToModules(c.widths)) << c.value;
}

// Worked examples: which symbol values a value becomes, and the check value
// (start value + sum of position x value, mod 103).
TEST(Code128, SymbolValuesAndCheckValues) {
    struct Case {
        TBarcodeType typ;
        std::string text;
        bool checksum;
        std::vector<int> values;  // FNC1 (102) included for EAN-128
        int check;
        std::string textAfter;
        const char* note;
    };
    const Case cases[] = {
        {bcCode128B, "AB", false, {33, 34}, 102, "AB", "104 + 33 + 2 x 34 = 205 = 103 + 102"},
        {bcCode128B, "", false, {}, 1, "", "104 mod 103"},
        {bcCode128C, "1234", false, {12, 34}, 82, "1234", "105 + 12 + 68 = 185"},
        {bcCode128C, "123", false, {1, 23}, 49, "0123", "odd length: '0' in front; 105 + 1 + 46 = 152"},
        {bcCodeEAN128C, "123", false, {102, 1, 23}, 72, "0123", "105 + 102 + 2 + 69 = 278"},
        {bcCodeEAN128C, "123", true, {102, 12, 36}, 30, "123",
         "check digit 6 in a working copy: 1236; 105 + 102 + 24 + 108 = 339"},
        {bcCodeEAN128B, "AB", false, {102, 33, 34}, 65, "AB", "104 + 102 + 66 + 102 = 374"},
        {bcCode128A, "a", false, {0}, 0, "a", "'a' is not in set A: value 0; 103 mod 103"},
        {bcCode128B, "a", false, {65}, 66, "a", "'a' is 97 - 32 in set B"},
        {bcCode128A, ",", false, {12}, 12, ",", "comma is value 12 in set A"},
        {bcCode128B, ",", false, {12}, 13, ",", "comma is value 12 in set B"},
        {bcCode128A, "_", false, {63}, 63, "_", "'_' is the last character of set A"},
        {bcCode128A, "`~\x7f", false, {0, 0, 0}, 0, "`~\x7f", "beyond '_': spaces in set A"},
        {bcCode128B, "~\x7f\t\xe9", false, {94, 0, 0, 0}, 95, "~\x7f\t\xe9",
         "'~' is the last of set B; DEL, TAB and 0xE9 become spaces"},
        {bcCode128B, "AB", true, {33, 34}, 102, "AB", "Checksum does nothing for plain Code 128"},
        {bcCodeEAN128A, "12", true, {102, 17, 18, 19}, (103 + 102 + 34 + 54 + 76) % 103, "12",
         "EAN-128A: check digit 3 appended to 12 in set A"},
    };
    for (const Case& c : cases) {
        TKelBarcode b;
        b.SetTyp(c.typ);
        b.SetCheckSum(c.checksum);
        b.SetText(c.text);
        const std::string modules = b.MakeData();
        const Split s = split(modules);
        ASSERT_EQ(s.symbols.size(), c.values.size()) << c.note;
        for (std::size_t i = 0; i < c.values.size(); ++i)
            EXPECT_EQ(s.symbols[i], symbolOfValue(c.values[i])) << c.note << " symbol " << i;
        EXPECT_EQ(s.check, symbolOfValue(c.check)) << c.note;
        EXPECT_EQ(s.stop, kStopModules) << c.note;
        EXPECT_EQ(b.Text(), c.textAfter) << c.note;
        EXPECT_EQ(modules.size(), 6 * (c.values.size() + 2) + 7) << c.note;
    }
}

// Whole module strings worked from the standard's patterns.
TEST(Code128, ModuleStrings) {
    struct Case {
        TBarcodeType typ;
        const char* text;
        const char* modules;
        const char* note;
    };
    const Case cases[] = {
        {bcCode128B, "AB", "6051535052625250628050706270506", "start B, 'A', 'B', check 102, stop"},
        {bcCode128B, "", "6051536160616270506", "start B, check 1, stop"},
        {bcCode128A, "", "6053516061616270506", "start A 211412, check 103 mod 103 = 0 (212222), stop"},
        {bcCode128C, "", "6051716161606270506", "start C 211232, check 105 mod 103 = 2 (222221), stop"},
    };
    for (const Case& c : cases) {
        TKelBarcode b;
        b.SetTyp(c.typ);
        b.SetText(c.text);
        EXPECT_EQ(b.MakeData(), c.modules) << c.note;
    }
}

// Code set C pads an odd-length Text once, in place and silently; EAN-128
// with its check digit pads the working copy and leaves Text alone.
TEST(Code128, CodeSetCPaddingIsWrittenBackOnce) {
    struct Case {
        TBarcodeType typ;
        bool checksum;
        TCheckSumMethod method;
        std::string text;
        std::string textAfter;
    };
    const Case cases[] = {
        {bcCode128C, false, csmModulo10, "123", "0123"},
        {bcCode128C, false, csmModulo10, "1", "01"},
        {bcCode128C, false, csmModulo10, "12", "12"},
        {bcCode128C, true, csmModulo10, "123", "0123"},  // no check digit for plain Code 128
        {bcCodeEAN128C, false, csmModulo10, "123", "0123"},
        {bcCodeEAN128C, true, csmModulo10, "123", "123"},  // working value 1236
        {bcCodeEAN128C, true, csmModulo10, "12", "12"},    // working value 0123
        {bcCodeEAN128C, true, csmNone, "123", "0123"},     // no digit: Text itself is encoded
    };
    for (const Case& c : cases) {
        TKelBarcode b;
        b.SetTyp(c.typ);
        b.SetCheckSum(c.checksum);
        b.SetCheckSumMethod(c.method);
        b.SetText(c.text);
        int changes = 0;
        b.SetOnChange([&](TKelBarcode*) { ++changes; });
        const std::string first = b.MakeData();
        EXPECT_EQ(b.Text(), c.textAfter) << c.text;
        const std::string second = b.MakeData();
        EXPECT_EQ(second, first) << c.text;
        EXPECT_EQ(b.Text(), c.textAfter) << c.text;
        EXPECT_EQ(changes, 0) << c.text;
    }
}

TEST(Code128, ChecksumMakesNoDifferenceForPlainCode128) {
    for (TBarcodeType typ : {bcCode128A, bcCode128B, bcCode128C}) {
        TKelBarcode b;
        b.SetTyp(typ);
        b.SetText("0123456789");
        const std::string without = b.MakeData();
        b.SetCheckSum(true);
        EXPECT_EQ(b.MakeData(), without) << typ;
    }
}

TEST(Code128, Errors) {
    TKelBarcode ean;
    ean.SetTyp(bcCodeEAN128B);
    ean.SetCheckSum(true);
    ean.SetText("A1");
    EXPECT_EQ(errorOf(ean), "'A' is not a valid integer value");
    EXPECT_EQ(ean.Text(), "A1");

    // Without the mod-10 method nothing is checked.
    ean.SetCheckSumMethod(csmNone);
    EXPECT_EQ(errorOf(ean), "");

    TKelBarcode other;
    other.SetTyp(bcCode39);
    try {
        other.Code_128();
        ADD_FAILURE() << "Code_128 accepted Code 39";
    } catch (const EBarcodeError& e) {
        EXPECT_STREQ(e.what(), "TKelBarcode: wrong BarcodeType in Code_128");
    }
}

// Code_128 called on its own with a set C value that holds non-digits: a
// pair that is not two digits becomes value 0 ("00").
TEST(Code128, NonDigitPairsInSetCBecomeZero) {
    TKelBarcode b;
    b.SetTyp(bcCode128C);
    b.SetText("12ab34");
    const Split s = split(b.Code_128());
    ASSERT_EQ(s.symbols.size(), 3u);
    EXPECT_EQ(s.symbols[0], symbolOfValue(12));
    EXPECT_EQ(s.symbols[1], symbolOfValue(0));
    EXPECT_EQ(s.symbols[2], symbolOfValue(34));
    // 105 + 12 + 0 + 102 = 219 = 2 x 103 + 13
    EXPECT_EQ(s.check, symbolOfValue(13));
}

// Module widths follow Ratio: Code 128 is not clamped.
TEST(Code128, WidthFollowsRatio) {
    TKelBarcode b;
    b.SetTyp(bcCode128B);
    b.SetText("AB");
    EXPECT_EQ(b.GetWidth(), 57);  // 4 x 11 + 13 modules
    b.SetRatio(3.0);
    // Widths 1, 3, 4, 6 for classes 0..3: count the classes of "AB".
    const std::string modules = b.MakeData();
    int expected = 0;
    for (char c : modules) {
        const int widthClass = (c >= '5') ? c - '5' : c - '0';
        expected += std::array<int, 4>{1, 3, 4, 6}[widthClass];
    }
    EXPECT_EQ(b.GetWidth(), expected);
    EXPECT_EQ(b.Ratio(), 3.0);
}

// A long value: the check value stays right (no overflow of sum or weight).
TEST(Code128, LongValueKeepsItsCheckValue) {
    TKelBarcode b;
    b.SetTyp(bcCode128B);
    const std::string text(100000, '~');  // value 94 each
    b.SetText(text);
    const std::string modules = b.MakeData();
    ASSERT_EQ(modules.size(), 6 * (text.size() + 2) + 7);
    // 104 + 94 x (1 + 2 + ... + 100000) mod 103, worked in 64 bits.
    const unsigned long long n = text.size();
    const int check = static_cast<int>((104 + 94ULL * (n * (n + 1) / 2)) % 103);
    EXPECT_EQ(split(modules).check, symbolOfValue(check));
}
