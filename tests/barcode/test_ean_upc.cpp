// EAN-8, EAN-13, UPC-A, UPC-E and the add-ons: worked examples, the value
// each encoder leaves in Text, and decoder round trips.

#include <gtest/gtest.h>

#include <optional>

#include "EncoderTestSupport.h"

namespace {

// Only the symbology drawn: with UPC-A enabled zxing-cpp reports an EAN-13
// that begins with 0 as UPC-A.
ZXing::BarcodeFormat formatOf(TBarcodeType typ) {
    switch (typ) {
    case bcCodeEAN8: return ZXing::BarcodeFormat::EAN8;
    case bcCodeUPC_A: return ZXing::BarcodeFormat::UPCA;
    case bcCodeUPC_E0:
    case bcCodeUPC_E1: return ZXing::BarcodeFormat::UPCE;
    default: return ZXing::BarcodeFormat::EAN13;
    }
}

std::optional<std::string> zxingRead(const TKelBarcode& b, const std::string& modules) {
    const auto r = oracle::decodeZxing(enc::picture(b, modules), formatOf(b.Typ()));
    return r ? std::optional<std::string>(r->text) : std::nullopt;
}

// zbar reports UPC-A (and UPC-E, expanded) as EAN-13 with a leading 0
// unless told otherwise; that 0 is dropped here.
std::optional<std::string> zbarRead(const TKelBarcode& b, const std::string& modules) {
    auto r = oracle::decodeZbar(enc::picture(b, modules));
    if (!r)
        return std::nullopt;
    if (b.Typ() != bcCodeEAN13 && r->text.size() == 13 && r->text[0] == '0')
        r->text.erase(0, 1);
    return r->text;
}

}  // namespace

// Symbol sizes of ISO/IEC 15420: 95 modules for EAN-13 and UPC-A, 67 for
// EAN-8, 51 for UPC-E, 47 and 20 for the 5- and 2-digit add-ons; one
// module-string character per bar or space.
TEST(EanUpc, SymbolSizes) {
    struct Case { TBarcodeType typ; int characters; int modules; } cases[] = {
        {bcCodeEAN13, 59, 95},     {bcCodeUPC_A, 59, 95},     {bcCodeEAN8, 43, 67},
        {bcCodeUPC_E0, 33, 51},    {bcCodeUPC_E1, 33, 51},    {bcCodeUPC_Supp5, 31, 47},
        {bcCodeUPC_Supp2, 13, 20},
    };
    for (const auto& c : cases) {
        for (bool checksum : {false, true}) {
            TKelBarcode b;
            enc::setUp(b, c.typ, "", {checksum});
            const std::string modules = b.MakeData();
            EXPECT_EQ(int(modules.size()), c.characters) << SymbologyInfo[c.typ].Name << checksum;
            EXPECT_EQ(enc::widthOf(b, modules), c.modules) << SymbologyInfo[c.typ].Name << checksum;
        }
    }
}

// What each encoder draws (read back by zxing-cpp) and leaves in Text.
TEST(EanUpc, DrawnValueAndStoredText) {
    struct Case {
        TBarcodeType typ;
        const char* text;
        bool checksum;
        const char* storedText;
        const char* decoded;  // zxing-cpp; nullptr when the drawn value has no valid check digit
        const char* why;
    } cases[] = {
        {bcCodeEAN13, "", false, "", "0000000000000", "empty value is all zeros"},
        {bcCodeUPC_A, "", false, "000000000000", "000000000000", "UPC-A stores its padding"},
        {bcCodeEAN13, "400638133393", true, "400638133393", "4006381333931",
         "check digit drawn, not stored; 4006381333931 is the usual EAN-13 example"},
        {bcCodeEAN8, "1234567", true, "1234567", "12345670", "mod-10 of 1234567 is 0"},
        {bcCodeEAN8, "123456789", true, "123456789", "34567890",
         "only the last seven digits are kept (3*9+8+3*7+6+3*5+4+3*3 = 90)"},
        {bcCodeUPC_A, "1234567890123", true, "123456789012", "123456789012",
         "first eleven digits plus their check digit 2"},
        // An 11-digit value keeps every digit: padding to 12 first would drop
        // its last digit.  036000291452 is the GS1 UPC-A example.
        {bcCodeUPC_A, "03600029145", true, "036000291452", "036000291452", "11 digits kept"},
        {bcCodeUPC_A, "03600029145", false, "003600029145", nullptr, "no check digit: padded to 12"},
        // UPC-E: the parity row follows the check digit of the expanded UPC-A
        // number; 04252614 is UPC-A 042100005264 (GS1 zero-suppression example).
        {bcCodeUPC_E0, "425261", true, "4252614", "04252614", "UPC-E stores its check digit"},
        {bcCodeUPC_E0, "4252619", false, "4252619", "04252614",
         "a typed seventh digit stays in Text and plays no part in the bars"},
        {bcCodeUPC_E0, "12345678", true, "1234565", "01234565",
         "shortened to six digits; 01234500006 has check digit 5"},
        {bcCodeUPC_E0, "42526", true, "0425261", "00425261",
         "padded to six digits; 00425200006 has check digit 1"},
        {bcCodeUPC_E1, "425261", true, "4252611", "14252611",
         "number system 1: 142100005261 has check digit 1, parity swapped"},
        {bcCodeUPC_Supp5, "52495", true, "524951", nullptr,
         "5*3 + 2*9 + 4*3 + 9*9 + 5*3 = 141: add-on check digit 1"},
        {bcCodeUPC_Supp5, "1234567", true, "123451", nullptr, "shortened to five digits plus 1 (81)"},
        {bcCodeUPC_Supp5, "7", false, "00007", nullptr, "padded, no check digit"},
        {bcCodeUPC_Supp2, "12", true, "125", nullptr, "1*9 + 2*3 = 15: check digit 5"},
        {bcCodeUPC_Supp2, "7", false, "07", nullptr, "padded to two"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TKelBarcode b;
        enc::setUp(b, c.typ, c.text, {c.checksum});
        const std::string first = b.MakeData();
        EXPECT_EQ(b.Text(), c.storedText) << "row " << i << ": " << c.why;
        // What the encoder stores is a fixed point.
        EXPECT_EQ(b.MakeData(), first) << "row " << i;
        EXPECT_EQ(b.Text(), c.storedText) << "row " << i;
        if (c.decoded) {
            EXPECT_EQ(zxingRead(b, first), std::optional<std::string>(c.decoded))
                << "row " << i << ": " << c.why;
        }
    }
}

// Length checks and requests that leave no check digit to draw.
TEST(EanUpc, RefusedValuesKeepText) {
    struct Case {
        TBarcodeType typ;
        const char* text;
        bool checksum;
        TCheckSumMethod method;
        const char* message;
    } cases[] = {
        {bcCodeEAN8, "123456789", false, csmModulo10, "Invalid Text len (EAN8)"},
        {bcCodeEAN8, "1234567", true, csmNone, "Invalid Text len (EAN8)"},
        {bcCodeEAN13, "12345678901234", false, csmModulo10, "Invalid Text len (EAN13)"},
        {bcCodeEAN13, "1234567890123", true, csmModulo10, "Invalid Text len (EAN13)"},
        {bcCodeEAN13, "123456789012", true, csmNone, "Invalid Text len (EAN13)"},
        // Without a check digit method eleven digits cannot fill twelve.
        {bcCodeUPC_A, "12345", true, csmNone, "Invalid Text len (UPC-A)"},
        // UPC-E carries its check digit in the parity: none means no symbol.
        {bcCodeUPC_E0, "425261", true, csmNone, "Invalid Text len (UPC-E)"},
        {bcCodeUPC_E0, "425261", false, csmNone, "Invalid Text len (UPC-E)"},
        {bcCodeUPC_E1, "4252", true, csmNone, "Invalid Text len (UPC-E)"},
        {bcCodeUPC_E1, "4252", false, csmNone, "Invalid Text len (UPC-E)"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TKelBarcode b;
        enc::setUp(b, c.typ, c.text, {c.checksum, c.method});
        try {
            b.MakeData();
            ADD_FAILURE() << "row " << i << " encoded";
        } catch (const EBarcodeError& e) {
            EXPECT_STREQ(e.what(), c.message) << "row " << i;
        }
        EXPECT_EQ(b.Text(), c.text) << "row " << i;
    }
    // UPC-A without Checksum needs no method: the twelve digits are given.
    TKelBarcode b;
    enc::setUp(b, bcCodeUPC_A, "036000291452", {false, csmNone});
    EXPECT_EQ(zxingRead(b, b.MakeData()), std::optional<std::string>("036000291452"));
}

// The 5-digit add-on 52495 has check digit 1, whose parity letters EoEoo
// draw its digits from sets B, A, B, A, A.  Codes written out from the
// ISO/IEC 15420 set A widths (5: 1231, 2: 2122, 4: 1132, 9: 3112; set B
// is set A's widths reversed), space first.
TEST(EanUpc, FiveDigitAddOnParityWorkedExample) {
    TKelBarcode b;
    enc::setUp(b, bcCodeUPC_Supp5, "52495");
    EXPECT_EQ(b.MakeData(), std::string("506") + "0715" + "05" + "1516" + "05" + "1705" + "05" +
                                "2506" + "05" + "0625");
}

// 2-digit add-on 12: 12 mod 4 = 0 selects odd, odd: both from set A
// (1: 2221, 2: 2122).
TEST(EanUpc, TwoDigitAddOnParityWorkedExample) {
    TKelBarcode b;
    enc::setUp(b, bcCodeUPC_Supp2, "12", {true});
    EXPECT_EQ(b.MakeData(), std::string("506") + "1615" + "05" + "1516");
}

// At Ratio 3 the width classes are 1, 3, 4, 6 modules; EAN-13 of zeros
// (set A 0 = classes 2,1,0,0; set C 0 = 2,1,0,0) is then 3 + 6*9 + 5 + 6*9 + 3.
TEST(EanUpc, RatioStretchesWideElements) {
    TKelBarcode b;
    enc::setUp(b, bcCodeEAN13, "0000000000000", {false, csmModulo10, 3.0});
    EXPECT_EQ(b.GetWidth(), 119);
}

// Decoder round trips over many values: both decoders check the digit
// codes, the guards and the check digit (and, for EAN-13 and UPC-E, the
// parity patterns).
TEST(EanUpc, RoundTripEanAndUpcA) {
    enc::Values values(1501);
    struct Kind { TBarcodeType typ; std::size_t digits; } kinds[] = {
        {bcCodeEAN13, 12}, {bcCodeEAN8, 7}, {bcCodeUPC_A, 11}};
    for (const Kind& k : kinds) {
        for (int n = 0; n < 30; ++n) {
            const std::string value = values.digits(k.digits);
            TKelBarcode b;
            enc::setUp(b, k.typ, value, {true});
            const std::string modules = b.MakeData();
            const auto zx = zxingRead(b, modules);
            ASSERT_TRUE(zx) << SymbologyInfo[k.typ].Name << " " << value;
            ASSERT_EQ(zx->size(), k.digits + 1);
            EXPECT_EQ(zx->substr(0, k.digits), value);
            const auto zb = zbarRead(b, modules);
            ASSERT_TRUE(zb) << SymbologyInfo[k.typ].Name << " " << value;
            EXPECT_EQ(*zb, *zx) << SymbologyInfo[k.typ].Name;

            // The complete value, drawn without Checksum, reads the same.
            TKelBarcode full;
            enc::setUp(full, k.typ, *zx);
            EXPECT_EQ(zxingRead(full, full.MakeData()), zx);
        }
    }
}

// UPC-E: zxing-cpp reads both number systems as 8 digits (system, six
// digits, check digit); zbar reads number system 0 and reports the
// expanded UPC-A number, whose check digit must be the one we stored.
TEST(EanUpc, RoundTripUpcE) {
    enc::Values values(1502);
    for (int n = 0; n < 40; ++n) {
        const std::string six = values.digits(6);
        for (bool system1 : {false, true}) {
            TKelBarcode b;
            enc::setUp(b, system1 ? bcCodeUPC_E1 : bcCodeUPC_E0, six, {true});
            const std::string modules = b.MakeData();
            ASSERT_EQ(b.Text().size(), 7u);
            EXPECT_EQ(b.Text().substr(0, 6), six);
            const std::string expected = (system1 ? "1" : "0") + b.Text();
            EXPECT_EQ(zxingRead(b, modules), std::optional<std::string>(expected)) << expected;
            if (!system1) {
                const auto zb = zbarRead(b, modules);
                ASSERT_TRUE(zb) << expected;
                ASSERT_EQ(zb->size(), 12u);
                EXPECT_EQ(zb->front(), '0');
                EXPECT_EQ(zb->back(), b.Text().back()) << expected << " read as " << *zb;
            }
            // Without Checksum the seven stored digits draw the same bars.
            TKelBarcode plain;
            enc::setUp(plain, system1 ? bcCodeUPC_E1 : bcCodeUPC_E0, b.Text());
            EXPECT_EQ(plain.MakeData(), modules) << expected;
            EXPECT_EQ(plain.Text(), b.Text());
        }
    }
}

// zbar reads 2- and 5-digit add-ons after an EAN-13 (gap of 9 modules,
// within the 7 to 12 of ISO/IEC 15420) and prints the add-on first, then
// the main symbol; it checks the add-on parity, so a wrong check digit or
// parity row fails to read.
TEST(EanUpc, RoundTripAddOnsAfterEan13) {
    TKelBarcode main;
    enc::setUp(main, bcCodeEAN13, "4006381333931");
    const std::string mainModules = main.MakeData();
    enc::Values values(1503);
    for (int n = 0; n < 40; ++n) {
        const bool five = n % 2 == 0;
        const std::string value = values.digits(five ? 5 : 2);
        TKelBarcode addOn;
        enc::setUp(addOn, five ? bcCodeUPC_Supp5 : bcCodeUPC_Supp2, value, {n % 4 < 2});
        const std::string modules = mainModules + "330" + addOn.MakeData();
        const auto zb = oracle::decodeZbar(enc::picture(addOn, modules), true);
        ASSERT_TRUE(zb) << value;
        EXPECT_EQ(zb->text, value + "4006381333931");
    }
}
