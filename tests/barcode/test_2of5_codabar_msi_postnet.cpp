// 2 of 5 (interleaved, industrial, matrix), Codabar, MSI and PostNet:
// worked examples, decoder round trips where decoders read the symbology,
// and element-by-element comparison with zint where none does.

#include <gtest/gtest.h>

#include <vector>

#include "EncoderTestSupport.h"

namespace {

std::string encode(TBarcodeType typ, const std::string& text) {
    TKelBarcode b;
    enc::setUp(b, typ, text);
    return b.MakeData();
}

// Width class of each element: '5'/'0' narrow (0), '6'/'1' wide (1),
// '7' extra wide (2); half bars ('A') count as narrow bars.
std::vector<int> widthClasses(const std::string& modules) {
    std::vector<int> classes;
    for (char c : modules) {
        if (c >= '0' && c <= '3')
            classes.push_back(c - '0');
        else if (c >= '5' && c <= '8')
            classes.push_back(c - '5');
        else
            classes.push_back(c - 'A');
    }
    return classes;
}

// zint's elements as width classes, through a table from zint's widths in
// modules to ours.
std::vector<int> zintClasses(const std::string& row, const std::vector<std::pair<int, int>>& widthToClass) {
    std::vector<int> classes;
    for (char w : enc::runLengths(row)) {
        int cls = -1;
        for (const auto& [width, c] : widthToClass)
            if (width == w - '0')
                cls = c;
        classes.push_back(cls);
    }
    return classes;
}

}  // namespace

TEST(TwoOfFive, WorkedExamples) {
    // Interleaved: an odd last digit has no partner and is not drawn.
    EXPECT_EQ(encode(bcCode_2_5_interleaved, "12345"), encode(bcCode_2_5_interleaved, "1234"));
    EXPECT_EQ(encode(bcCode_2_5_interleaved, ""), "5050605");
    EXPECT_EQ(encode(bcCode_2_5_interleaved, "7"), "5050605");
    // Industrial: ten elements a digit between the start and the stop.
    EXPECT_EQ(encode(bcCode_2_5_industrial, ""), "606050605060");
    EXPECT_EQ(encode(bcCode_2_5_industrial, "123").size(), 12u + 30u);
    // Matrix: five elements and a gap a digit.
    EXPECT_EQ(encode(bcCode_2_5_matrix, ""), "70505070505");
    EXPECT_EQ(encode(bcCode_2_5_matrix, "123").size(), 11u + 18u);
    // 1 (10001) and 2 (01001) interleaved: bars of 1, spaces of 2 (ISO/IEC 16390).
    EXPECT_EQ(encode(bcCode_2_5_interleaved, "12"), "5050" "6051505061" "605");
}

// zxing-cpp and zbar read Interleaved 2 of 5 (zxing from 6 digits on).
TEST(TwoOfFive, RoundTripInterleaved) {
    enc::Values values(2501);
    for (int n = 0; n < 40; ++n) {
        const std::string value = values.digits(6 + 2 * (n % 8));
        TKelBarcode b;
        enc::setUp(b, bcCode_2_5_interleaved, value);
        const auto image = enc::picture(b, b.MakeData());
        const auto zx = oracle::decodeZxing(image, ZXing::BarcodeFormat::ITF);
        ASSERT_TRUE(zx) << value;
        EXPECT_EQ(zx->text, value);
        const auto zb = oracle::decodeZbar(image);
        ASSERT_TRUE(zb) << value;
        EXPECT_EQ(zb->text, value);
    }
}

// No decoder here reads Industrial or Matrix 2 of 5; zint makes them
// (-b 7 industrial, -b 2 "standard", which is Matrix 2 of 5) with narrow
// elements 1 module, wide 3, and Matrix's start and stop bars 4.  Start,
// digits and stop line up one to one; our industrial stop ends with a
// narrow space after its last bar, which zint leaves to the quiet zone.
TEST(TwoOfFive, SameElementsAsZint) {
    enc::Values values(2502);
    for (int n = 0; n < 25; ++n) {
        const std::string value = values.digits(1 + n % 12);
        const auto industrial = oracle::zintRows(7, value);
        ASSERT_TRUE(industrial) << value;
        std::string ours = encode(bcCode_2_5_industrial, value);
        ASSERT_EQ(ours.back(), '0');
        ours.pop_back();
        EXPECT_EQ(widthClasses(ours), zintClasses(industrial->front(), {{1, 0}, {3, 1}})) << "industrial " << value;

        const auto matrix = oracle::zintRows(2, value);
        ASSERT_TRUE(matrix) << value;
        EXPECT_EQ(widthClasses(encode(bcCode_2_5_matrix, value)),
                  zintClasses(matrix->front(), {{1, 0}, {3, 1}, {4, 2}}))
            << "matrix " << value;
    }
}

// Codabar: always start A and stop B; zbar reports them, zxing-cpp only
// when asked.
TEST(Codabar, WorkedExamplesAndBadData) {
    // A (nnwwnwn) and B (nwnwnnw) with one narrow gap (USS-Codabar).
    EXPECT_EQ(encode(bcCodeCodabar, ""), "5061515" "0" "5151506");
    for (const char* text : {"a", "12b", "1 2", "\xC4"}) {
        TKelBarcode b;
        enc::setUp(b, bcCodeCodabar, text);
        try {
            b.MakeData();
            ADD_FAILURE() << text << " encoded";
        } catch (const EBarcodeError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("TKelBarcode:Codabar bad Data <") + text + ">");
        }
        EXPECT_EQ(b.Text(), text);
    }
}

// zxing-cpp wants at least two data characters between start and stop.
TEST(Codabar, RoundTrip) {
    enc::Values values(1201);
    for (int n = 0; n < 40; ++n) {
        const std::string value = values.next("0123456789-$:/.+", 2, 20);
        TKelBarcode b;
        enc::setUp(b, bcCodeCodabar, value);
        const auto image = enc::picture(b, b.MakeData());
        oracle::ZxingOptions options;
        options.returnCodabarStartEnd = true;
        const auto zx = oracle::decodeZxingWith(image, ZXing::BarcodeFormat::Codabar, options);
        ASSERT_TRUE(zx) << value;
        EXPECT_EQ(zx->text, "A" + value + "B");
        const auto zb = oracle::decodeZbar(image);
        ASSERT_TRUE(zb) << value;
        EXPECT_EQ(zb->text, "A" + value + "B");
    }
}

// MSI check digit (modulo 10, positions counted from the rightmost digit):
// the digit code after the data, four bits from 8 4 2 1, 0 as narrow bar
// and wide space, 1 as wide bar and narrow space.
TEST(Msi, CheckDigits) {
    const char* bits[] = {"51515151", "51515160", "51516051", "51516060", "51605151",
                          "51605160", "51606051", "51606060", "60515151", "60515160"};
    std::string long1001;
    for (int i = 0; i < 100; ++i)
        long1001 += "1234567890";
    long1001 += "1";
    struct Case { std::string text; int check; const char* why; } cases[] = {
        {"12", 5, "2 doubled is 4, plus 1"},
        // Counting from the left would make it 2, which scanners reject;
        // zint agrees on 0 (see SameElementsAsZint).
        {"123", 0, "13 doubled is 26: 2 + 6 + 2 = 10"},
        {"123456", 6, "246 doubled is 492: 15 + 9 = 24"},
        {"", 0, "nothing to add"},
        {"12345678901234567890", 6, "2468024680 doubled: 44, plus 50"},
        // Far beyond any integer: 1,3,5,7,9 doubled give 2+6+1+5+9 = 23 a
        // block, 2,4,6,8,0 add 20 a block, the last 1 doubled adds 2.
        {long1001, 8, "100 blocks: 2300 + 2000 + 2 = 4302"},
    };
    for (const auto& c : cases) {
        const std::string modules = encode(bcCodeMSI, c.text);
        ASSERT_EQ(modules.size(), 2 + 8 * (c.text.size() + 1) + 3) << c.why;
        EXPECT_EQ(modules.substr(0, 2), "60");
        EXPECT_EQ(modules.substr(2 + 8 * c.text.size(), 8), bits[c.check]) << c.why;
        EXPECT_EQ(modules.substr(modules.size() - 3), "515");
    }
}

// zint -b 47 --vers=1 (MSI with one modulo-10 check digit): narrow 1
// module, wide 2; start, digits, check digit and stop line up one to one.
TEST(Msi, SameElementsAsZint) {
    enc::Values values(4701);
    for (int n = 0; n < 30; ++n) {
        const std::string value = values.digits(1 + n % 25);
        const auto rows = oracle::zintRows(47, value, "--vers=1");
        ASSERT_TRUE(rows) << value;
        EXPECT_EQ(widthClasses(encode(bcCodeMSI, value)), zintClasses(rows->front(), {{1, 0}, {2, 1}}))
            << value;
    }
}

TEST(PostNet, WorkedExamples) {
    const std::string modules = encode(bcCodePostNet, "12345");
    int bars = 0;
    for (char c : modules)
        bars += (c == '5' || c == 'A') ? 1 : 0;
    EXPECT_EQ(bars, 27);  // two frame bars and five a digit
    EXPECT_EQ(modules.front(), '5');
    EXPECT_EQ(modules.back(), '5');
    EXPECT_EQ(encode(bcCodePostNet, ""), "515");
}

// zint -b 40 always appends the POSTNET check digit (the digits and it add
// up to a multiple of 10), so our symbol of the value followed by that
// digit is compared with zint's symbol of the value.  zint's top row holds
// only the full bars, its bottom row every bar; bars are compared in
// order, full or half (zint spaces them evenly, so spaces are not).
TEST(PostNet, SameBarsAsZint) {
    enc::Values values(4001);
    for (int n = 0; n < 20; ++n) {
        const std::string value = values.digits(n % 2 == 0 ? 5 : 9);
        int sum = 0;
        for (char c : value)
            sum += c - '0';
        const std::string withCheck = value + static_cast<char>('0' + (10 - sum % 10) % 10);
        const auto rows = oracle::zintRows(40, value);
        ASSERT_TRUE(rows) << value;
        ASSERT_EQ(rows->size(), 2u);
        std::string zintBars;
        const std::string& top = (*rows)[0];
        const std::string& bottom = (*rows)[1];
        for (std::size_t x = 0; x < bottom.size(); ++x)
            if (bottom[x] == '1')
                zintBars += (x < top.size() && top[x] == '1') ? 'F' : 'H';
        std::string ourBars;
        for (char c : encode(bcCodePostNet, withCheck)) {
            if (c == '5')
                ourBars += 'F';
            else if (c == 'A')
                ourBars += 'H';
            else
                EXPECT_EQ(c, '1') << "spaces are wide";
        }
        EXPECT_EQ(ourBars, zintBars) << value;
    }
}
