#include <gtest/gtest.h>

#include "Barcode.h"

// Worked examples of the Code 128 code set B.
TEST(Code128Smoke, KnownModuleStrings) {
    struct Case { const char* text; const char* modules; } cases[] = {
        {"AB", "6051535052625250628050706270506"},
        {"", "6051536160616270506"},
    };
    for (const auto& c : cases) {
        TKelBarcode b;
        b.SetTyp(bcCode128B);
        b.SetText(c.text);
        EXPECT_EQ(b.MakeData(), c.modules) << c.text;
    }
}

#include "ScanOracle.h"

TEST(Code128Smoke, OracleReadsCode128B) {
    TKelBarcode b;
    b.SetTyp(bcCode128B);
    b.SetText("Hello 128");
    const std::string modules = b.MakeData();
    const auto image = oracle::scale(oracle::renderModules(b, modules), 2);
    const auto zx = oracle::decodeZxing(image, ZXing::BarcodeFormat::Code128);
    ASSERT_TRUE(zx.has_value());
    EXPECT_EQ(zx->text, "Hello 128");
    const auto zb = oracle::decodeZbar(image);
    ASSERT_TRUE(zb.has_value());
    EXPECT_EQ(zb->text, "Hello 128");
}
