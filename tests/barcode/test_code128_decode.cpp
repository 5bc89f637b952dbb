// Round trips through an independent decoder: what the engine makes for
// Code 128 A, B, C and EAN-128 A, B, C is rendered with a quiet zone and
// read back by zxing-cpp, which checks the patterns, the check symbol and
// the start/stop characters against the standard.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Barcode.h"
#include "ScanOracle.h"

namespace {

struct Reading {
    bool read = false;
    std::string text;
    std::string symbology;
};

// Encodes, renders two pixels a width unit with a 20-unit quiet zone and
// decodes with zxing-cpp.
Reading roundTrip(TKelBarcode& b) {
    const std::string modules = b.MakeData();
    const auto image = oracle::scale(oracle::renderModules(b, modules, 20, 40), 2);
    const auto decoded = oracle::decodeZxing(image, ZXing::BarcodeFormat::Code128);
    if (!decoded)
        return {};
    return {true, decoded->text, decoded->symbology};
}

Reading roundTrip(TBarcodeType typ, const std::string& text, bool checksum = false) {
    TKelBarcode b;
    b.SetTyp(typ);
    b.SetCheckSum(checksum);
    b.SetText(text);
    return roundTrip(b);
}

bool isEan(TBarcodeType typ) {
    return typ == bcCodeEAN128A || typ == bcCodeEAN128B || typ == bcCodeEAN128C;
}

// "]C0" plain Code 128, "]C1" FNC1 in first position (GS1-128): ISO/IEC 15424.
std::string identifierOf(TBarcodeType typ) { return isEan(typ) ? "]C1" : "]C0"; }

}  // namespace

// Values and what the symbol holds.  Characters that a code set lacks are
// encoded as value 0: a space in sets A and B, "00" in set C.
TEST(Code128Decode, ValuesReadBackAsTheSymbolHoldsThem) {
    struct Case {
        TBarcodeType typ;
        std::string text;
        bool checksum;
        std::string decoded;
        const char* note;
    };
    const Case cases[] = {
        {bcCode128A, "HELLO WORLD", false, "HELLO WORLD", "upper case is in set A"},
        {bcCode128A, "0123456789", false, "0123456789", ""},
        {bcCode128A, "A-Z [\\]^_ !\"#$%&'()*+,./:;<=>?@", false, "A-Z [\\]^_ !\"#$%&'()*+,./:;<=>?@",
         "punctuation of set A"},
        {bcCode128A, "Hello", false, "H    ", "lower case is not in set A: spaces"},
        {bcCode128A, "a\tb\x7f~`{", false, "       ", "none of these is in set A"},
        {bcCode128B, "Hello, World!", false, "Hello, World!", ""},
        {bcCode128B, "abc{|}~`", false, "abc{|}~`", "the characters set B adds to set A"},
        {bcCode128B, "caf\xe9\tbar", false, "caf  bar", "0xE9 and TAB are not in set B: spaces"},
        {bcCode128B, std::string("A\0B", 3), false, "A B", "a NUL byte becomes a space"},
        {bcCode128B, "AB", true, "AB", "Checksum adds nothing to plain Code 128"},
        {bcCode128C, "1234", false, "1234", ""},
        {bcCode128C, "123", false, "0123", "odd length: '0' in front"},
        {bcCode128C, " 000042 ", false, "000042", "trimmed first"},
        {bcCode128C, "99999999999999999999", false, "99999999999999999999", ""},
        {bcCodeEAN128A, "0101234567890128", false, "0101234567890128", "GTIN in AI (01)"},
        {bcCodeEAN128A, "10ABC-123", false, "10ABC-123", "batch in AI (10)"},
        {bcCodeEAN128A, "10abc", false, "10   ", "lower case is not in set A"},
        {bcCodeEAN128A, "12", true, "123", "mod-10 digit 3 appended"},
        {bcCodeEAN128B, "21serial-no.7", false, "21serial-no.7", "serial in AI (21)"},
        {bcCodeEAN128B, "10\xe4x", false, "10 x", "0xE4 is not in set B"},
        {bcCodeEAN128B, "400638133393", true, "4006381333931", "mod-10 digit appended"},
        {bcCodeEAN128C, "0101234567890128", false, "0101234567890128", "GTIN in AI (01)"},
        {bcCodeEAN128C, "123", false, "0123", "odd length: '0' in front"},
        {bcCodeEAN128C, "123", true, "1236", "mod-10 digit 6 appended, even length"},
        {bcCodeEAN128C, "12", true, "0123", "12 + check 3 is odd: '0' in front"},
        {bcCodeEAN128C, "0036000291452", false, "00036000291452", ""},
    };
    for (const Case& c : cases) {
        const Reading r = roundTrip(c.typ, c.text, c.checksum);
        ASSERT_TRUE(r.read) << SymbologyInfo[c.typ].DisplayName << " \"" << c.text << "\" " << c.note;
        EXPECT_EQ(r.text, c.decoded) << SymbologyInfo[c.typ].DisplayName << " " << c.note;
        EXPECT_EQ(r.symbology, identifierOf(c.typ)) << SymbologyInfo[c.typ].DisplayName << " " << c.note;
    }
}

// Set C of Code_128 alone (MakeData refuses non-digits first): a pair that is
// not two digits is encoded as "00".
TEST(Code128Decode, NonDigitPairsReadAsZeros) {
    struct Case {
        TBarcodeType typ;
        std::string text;
        std::string decoded;
    };
    const Case cases[] = {
        {bcCode128C, "12ab34", "120034"},
        {bcCode128C, "1x", "00"},
        {bcCodeEAN128C, "01-2", "0100"},
    };
    for (const Case& c : cases) {
        TKelBarcode b;
        b.SetTyp(c.typ);
        b.SetText(c.text);
        const std::string modules = b.Code_128();
        b.MakeModules();
        const auto image = oracle::scale(oracle::renderModules(b, modules, 20, 40), 2);
        const auto decoded = oracle::decodeZxing(image, ZXing::BarcodeFormat::Code128);
        ASSERT_TRUE(decoded.has_value()) << c.text;
        EXPECT_EQ(decoded->text, c.decoded) << c.text;
    }
}

// Every character of sets A and B and every pair of set C, in symbols of
// ten characters, reads back unchanged.
TEST(Code128Decode, EveryCharacterOfEveryCodeSet) {
    struct Set {
        TBarcodeType typ;
        std::string alphabet;
        std::size_t chunk;
    };
    std::string setA, setB, setC;
    for (int c = 32; c <= 95; ++c)
        setA += char(c);
    for (int c = 32; c <= 126; ++c)
        setB += char(c);
    for (int v = 0; v < 100; ++v)
        setC += std::string{char('0' + v / 10), char('0' + v % 10)};
    const Set sets[] = {
        {bcCode128A, setA, 10}, {bcCodeEAN128A, setA, 10},
        {bcCode128B, setB, 10}, {bcCodeEAN128B, setB, 10},
        {bcCode128C, setC, 20}, {bcCodeEAN128C, setC, 20},
    };
    for (const Set& set : sets) {
        for (std::size_t i = 0; i < set.alphabet.size(); i += set.chunk) {
            std::string text = set.alphabet.substr(i, set.chunk);
            const Reading r = roundTrip(set.typ, text);
            ASSERT_TRUE(r.read) << SymbologyInfo[set.typ].DisplayName << " \"" << text << "\"";
            EXPECT_EQ(r.text, text) << SymbologyInfo[set.typ].DisplayName;
        }
    }
}

// Every symbol value 0..102 stands once as the check symbol of some value,
// values 95..101 included, which no data character of a single code set
// reaches.  The decoder verifies each check symbol.
TEST(Code128Decode, EveryCheckValue) {
    std::vector<bool> covered(103, false);
    int found = 0;
    // Two set B characters: check = (104 + v1 + 2 v2) mod 103.
    for (int v1 = 0; v1 <= 94 && found < 103; ++v1) {
        for (int v2 = 0; v2 <= 94 && found < 103; ++v2) {
            const int check = (104 + v1 + 2 * v2) % 103;
            if (covered[check])
                continue;
            covered[check] = true;
            ++found;
            const std::string text{char(32 + v1), char(32 + v2)};
            const Reading r = roundTrip(bcCode128B, text);
            ASSERT_TRUE(r.read) << "check value " << check << " from \"" << text << "\"";
            EXPECT_EQ(r.text, text);
        }
    }
    EXPECT_EQ(found, 103);
}

// Random values of many lengths in every type; odd-length set C values gain
// a leading '0', which Text keeps.
TEST(Code128Decode, RandomValues) {
    std::mt19937 random(128);
    const TBarcodeType types[] = {bcCode128A, bcCode128B, bcCode128C,
                                  bcCodeEAN128A, bcCodeEAN128B, bcCodeEAN128C};
    for (TBarcodeType typ : types) {
        const bool setC = typ == bcCode128C || typ == bcCodeEAN128C;
        const int last = (typ == bcCode128A || typ == bcCodeEAN128A) ? 95 : 126;
        for (int length = 1; length <= 40; ++length) {
            std::string text;
            for (int i = 0; i < length; ++i)
                text += setC ? char('0' + random() % 10) : char(32 + random() % (last - 31));
            TKelBarcode b;
            b.SetTyp(typ);
            b.SetText(text);
            const Reading r = roundTrip(b);
            const std::string expected = (setC && length % 2 == 1) ? "0" + text : text;
            ASSERT_TRUE(r.read) << SymbologyInfo[typ].DisplayName << " \"" << text << "\"";
            EXPECT_EQ(r.text, expected) << SymbologyInfo[typ].DisplayName;
            EXPECT_EQ(b.Text(), expected) << SymbologyInfo[typ].DisplayName;
            EXPECT_EQ(r.symbology, identifierOf(typ));
        }
    }
}

// Wider modules read the same.
TEST(Code128Decode, WiderModules) {
    for (int modul : {2, 3, 5}) {
        TKelBarcode b;
        b.SetTyp(bcCodeEAN128B);
        b.SetModul(modul);
        b.SetText("10LOT-42");
        const Reading r = roundTrip(b);
        ASSERT_TRUE(r.read) << modul;
        EXPECT_EQ(r.text, "10LOT-42");
    }
}

// A second, unrelated decoder agrees on plain Code 128 in all three sets.
TEST(Code128Decode, ZbarReadsTheSameValues) {
    struct Case {
        TBarcodeType typ;
        std::string text;
        std::string decoded;
    };
    const Case cases[] = {
        {bcCode128A, "HALVEX-128", "HALVEX-128"},
        {bcCode128A, "abc", "   "},  // not in set A: spaces
        {bcCode128B, "Hello 128", "Hello 128"},
        {bcCode128C, "12345", "012345"},
    };
    for (const Case& c : cases) {
        TKelBarcode b;
        b.SetTyp(c.typ);
        b.SetText(c.text);
        const std::string modules = b.MakeData();
        const auto image = oracle::scale(oracle::renderModules(b, modules, 20, 40), 2);
        const auto decoded = oracle::decodeZbar(image);
        ASSERT_TRUE(decoded.has_value()) << c.text;
        EXPECT_EQ(decoded->text, c.decoded) << c.text;
    }
}
