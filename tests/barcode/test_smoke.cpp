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
