// Code 39 and Code 93, plain and full ASCII: worked examples, check
// characters, and decoder round trips.

#include <gtest/gtest.h>

#include "EncoderTestSupport.h"

namespace {

std::string encode(TBarcodeType typ, const std::string& text, bool checksum = false) {
    TKelBarcode b;
    enc::setUp(b, typ, text, {checksum});
    return b.MakeData();
}

// Code 39 character patterns written out from ISO/IEC 16388 (n
// narrow, w wide, bar first): '*' nwnnwnwnn, 'A' wnnnnwnnw, '0' nnnwwnwnn,
// '8' wnnwnnwnn, '+' nwnnnwnwn.
const std::string kStar = "515060605";
const std::string kA = "605051506";
const std::string kZero = "505160605";
const std::string kEight = "605150605";
const std::string kPlus = "515051515";

// The six elements of the i-th Code 93 character after the start.
std::string code93Char(const std::string& modules, std::size_t i) {
    return modules.substr(6 + 6 * i, 6);
}

std::string allBytes(int from, int to) {
    std::string s;
    for (int c = from; c <= to; ++c)
        s += static_cast<char>(c);
    return s;
}

}  // namespace

TEST(Code39, WorkedExamples) {
    struct Case { TBarcodeType typ; const char* text; bool checksum; std::string modules; const char* why; } cases[] = {
        {bcCode39, "A", false, kStar + "0" + kA + "0" + kStar, "start, A, stop with narrow gaps"},
        {bcCode39, "A", false, "51506060506050515060515060605", "the same written out"},
        {bcCode39, "A", true, kStar + "0" + kA + "0" + kA + "0" + kStar, "10 mod 43 = 10: check character A"},
        {bcCode39, "a", false, "5150606050515060605", "lower case has no pattern and is skipped"},
        {bcCode39, "", true, kStar + "0" + kZero + "0" + kStar, "check value 0 is '0', not '*'"},
        {bcCode39Extended, "a", false, kStar + "0" + kPlus + "0" + kA + "0" + kStar, "full ASCII a is +A"},
        {bcCode39Extended, "a", true, kStar + "0" + kPlus + "0" + kA + "0" + kEight + "0" + kStar,
         "(41 + 10) mod 43 = 8"},
        {bcCode39Extended, "A\xC4\xFF", false, kStar + "0" + kA + "0" + kStar, "bytes from 128 up are dropped"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        TKelBarcode b;
        enc::setUp(b, c.typ, c.text, {c.checksum});
        EXPECT_EQ(b.MakeData(), c.modules) << "row " << i << ": " << c.why;
        EXPECT_EQ(b.Text(), c.text) << "row " << i;
    }
}

// Check characters C and K of worked examples (USS-93 rules:
// C weighs 1..20 from the right, K weighs C 1 and the data 2..15, both
// wrapping).  TEST93 is the standard's own example.
TEST(Code93, CheckCharacters) {
    struct Case { const char* text; char c; char k; const char* why; } cases[] = {
        {"TEST93", '+', '6', "AIM example: C = 41, K = 6"},
        {"ABCDEFGHIJKLMNOP", 'J', '3', "16 characters: K weights wrap; C = 19, K = 3"},
        {"ABCDEFGHIJKLMNOPQRSTUV", 'R', 'A', "22 characters: both wrap; C = 27, K = 10"},
        {"", '0', '0', "empty: C = 0, K = 0"},
    };
    for (const auto& c : cases) {
        const std::string modules = encode(bcCode93, c.text);
        const std::size_t n = std::string(c.text).size();
        ASSERT_EQ(modules.size(), 6 * (n + 3) + 7) << c.why;
        EXPECT_EQ(code93Char(modules, n), code93Char(encode(bcCode93, std::string(1, c.c)), 0)) << c.why;
        EXPECT_EQ(code93Char(modules, n + 1), code93Char(encode(bcCode93, std::string(1, c.k)), 0)) << c.why;
    }
}

// zint makes the same Code 93 symbols element for element: the same start
// (111141), characters, both check characters and the stop with its
// termination bar (1111411).
TEST(Code93, SameElementsAsZint) {
    for (const char* text : {"TEST93", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOPQRSTUV", "0123456789", "Z9"}) {
        const auto rows = oracle::zintRows(25, text);
        ASSERT_TRUE(rows) << "zint -b 25 " << text;
        ASSERT_EQ(rows->size(), 1u);
        EXPECT_EQ(encode(bcCode93, text), TKelBarcode::PatternToModules(enc::runLengths(rows->front())))
            << text;
    }
}

TEST(Code93, BadDataAndFullAscii) {
    TKelBarcode b;
    enc::setUp(b, bcCode93, "abc");
    try {
        b.MakeData();
        ADD_FAILURE() << "lower case encoded";
    } catch (const EBarcodeError& e) {
        EXPECT_STREQ(e.what(), "TKelBarcode:Code93 bad Data <abc>");
    }
    // Full ASCII: lower case is the (+) shift, held as '}', and the letter.
    struct Case { const char* text; const char* mapped; } cases[] = {
        {"abc", "}A}B}C"},
        {"a", "}A"},
        {"A\x80z\xFF", "A}Z"},  // bytes from 128 up are dropped
    };
    for (const auto& c : cases) {
        TKelBarcode ext;
        enc::setUp(ext, bcCode93Extended, c.text);
        EXPECT_EQ(ext.MakeData(), encode(bcCode93, c.mapped)) << c.mapped;
        EXPECT_EQ(ext.Text(), c.text);
    }
}

// Decoder round trips of random values over the 43 data characters.
TEST(Code39, RoundTripWithAndWithoutCheckCharacter) {
    const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    enc::Values values(3901);
    for (int n = 0; n < 40; ++n) {
        const std::string value = values.next(alphabet, 1, 20);
        for (bool checksum : {false, true}) {
            TKelBarcode b;
            enc::setUp(b, bcCode39, value, {checksum});
            const auto image = enc::picture(b, b.MakeData());
            oracle::ZxingOptions options;
            options.validateCode39CheckSum = checksum;
            const auto zx = oracle::decodeZxingWith(image, ZXing::BarcodeFormat::Code39, options);
            ASSERT_TRUE(zx) << value << " checksum " << checksum;
            EXPECT_EQ(zx->text, value);
            // zbar does not strip the check character; it must be one more.
            const auto zb = oracle::decodeZbar(image);
            ASSERT_TRUE(zb) << value;
            EXPECT_EQ(zb->text.substr(0, value.size()), value);
            EXPECT_EQ(zb->text.size(), value.size() + (checksum ? 1 : 0));
        }
    }
}

// Every byte 0..127, control characters included, in runs of 16, and
// random mixes; with the check character too.
TEST(Code39, RoundTripFullAscii) {
    std::vector<std::string> texts;
    for (int from = 0; from < 128; from += 16)
        texts.push_back(allBytes(from, from + 15));
    enc::Values values(3902);
    for (int n = 0; n < 20; ++n)
        texts.push_back(values.next(allBytes(0, 127), 1, 15));
    for (const std::string& text : texts) {
        for (bool checksum : {false, true}) {
            TKelBarcode b;
            enc::setUp(b, bcCode39Extended, text, {checksum});
            oracle::ZxingOptions options;
            options.code39Extended = true;
            options.validateCode39CheckSum = checksum;
            const auto zx = oracle::decodeZxingWith(enc::picture(b, b.MakeData()),
                                                    ZXing::BarcodeFormat::Code39, options);
            ASSERT_TRUE(zx) << "first byte " << int(text[0]) << " checksum " << checksum;
            EXPECT_EQ(zx->text, text) << "first byte " << int(text[0]);
        }
    }
}

TEST(Code93, RoundTrip) {
    const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    enc::Values values(9301);
    for (int n = 0; n < 40; ++n) {
        // Up to 30 characters, so that both check weights wrap.
        const std::string value = values.next(alphabet, 1, 30);
        TKelBarcode b;
        enc::setUp(b, bcCode93, value);
        const auto image = enc::picture(b, b.MakeData());
        const auto zx = oracle::decodeZxing(image, ZXing::BarcodeFormat::Code93);
        ASSERT_TRUE(zx) << value;
        EXPECT_EQ(zx->text, value);
        const auto zb = oracle::decodeZbar(image);
        ASSERT_TRUE(zb) << value;
        EXPECT_EQ(zb->text, value);
    }
}

// zxing-cpp reads Code 93's shift characters as full ASCII.
TEST(Code93, RoundTripFullAscii) {
    std::vector<std::string> texts;
    for (int from = 0; from < 128; from += 16)
        texts.push_back(allBytes(from, from + 15));
    enc::Values values(9302);
    for (int n = 0; n < 20; ++n)
        texts.push_back(values.next(allBytes(0, 127), 1, 20));
    for (const std::string& text : texts) {
        TKelBarcode b;
        enc::setUp(b, bcCode93Extended, text);
        const auto zx = oracle::decodeZxing(enc::picture(b, b.MakeData()), ZXing::BarcodeFormat::Code93);
        ASSERT_TRUE(zx) << "first byte " << int(text[0]);
        EXPECT_EQ(zx->text, text) << "first byte " << int(text[0]);
    }
}
