// Every symbology answers any value with a module string or an engine
// error: no crash, no other exception, no character outside the module
// alphabet.  Run under AddressSanitizer and UBSan in the sanitizer build.

#include <gtest/gtest.h>

#include <vector>

#include "EncoderTestSupport.h"

namespace {

// A module string is valid when OneBarProps accepts every character.
bool validModules(const TKelBarcode& b, const std::string& modules) {
    try {
        int width = 0;
        TBarLineType line;
        for (char c : modules)
            b.OneBarProps(c, width, line);
        return true;
    } catch (const EBarcodeError&) {
        return false;
    }
}

}  // namespace

TEST(EncoderRobustness, MakeDataServesEveryType) {
    for (int t = 0; t < BarcodeTypeCount; ++t) {
        TKelBarcode b;
        enc::setUp(b, static_cast<TBarcodeType>(t), "12");
        const std::string modules = b.MakeData();
        EXPECT_FALSE(modules.empty()) << SymbologyInfo[t].Name;
        EXPECT_TRUE(validModules(b, modules)) << SymbologyInfo[t].Name;
        EXPECT_GT(b.GetWidth(), 0) << SymbologyInfo[t].Name;
    }
}

TEST(EncoderRobustness, AnyValueGivesModulesOrAnError) {
    std::vector<std::string> texts = {"", std::string(1000, '9')};
    std::string mixed;
    for (int i = 0; i < 1000; ++i)
        mixed += static_cast<char>(1 + i % 255);
    texts.push_back(mixed);
    for (int byte = 0; byte < 256; ++byte)
        texts.emplace_back(1, static_cast<char>(byte));
    for (int byte = 0; byte < 256; ++byte)
        texts.push_back("12" + std::string(1, static_cast<char>(byte)) + "3");

    for (int t = 0; t < BarcodeTypeCount; ++t) {
        for (const std::string& text : texts) {
            for (bool checksum : {false, true}) {
                for (TCheckSumMethod method : {csmModulo10, csmNone}) {
                    TKelBarcode b;
                    enc::setUp(b, static_cast<TBarcodeType>(t), text, {checksum, method});
                    try {
                        const std::string modules = b.MakeData();
                        ASSERT_FALSE(modules.empty()) << SymbologyInfo[t].Name;
                        ASSERT_TRUE(validModules(b, modules))
                            << SymbologyInfo[t].Name << " length " << text.size();
                    } catch (const EBarcodeError& e) {
                        ASSERT_NE(std::string(e.what()), "") << SymbologyInfo[t].Name;
                    }
                }
            }
        }
    }
}

// The encoders are public: called directly, without MakeData's trimming
// and digit check, they must still refuse what they cannot draw.
TEST(EncoderRobustness, EncodersCalledDirectly) {
    using Encoder = std::string (TKelBarcode::*)();
    const std::pair<TBarcodeType, Encoder> encoders[] = {
        {bcCode_2_5_interleaved, &TKelBarcode::Code_2_5_interleaved},
        {bcCode_2_5_industrial, &TKelBarcode::Code_2_5_industrial},
        {bcCode_2_5_matrix, &TKelBarcode::Code_2_5_matrix},
        {bcCode39, &TKelBarcode::Code_39},
        {bcCode39Extended, &TKelBarcode::Code_39Extended},
        {bcCode93, &TKelBarcode::Code_93},
        {bcCode93Extended, &TKelBarcode::Code_93Extended},
        {bcCodeMSI, &TKelBarcode::Code_MSI},
        {bcCodePostNet, &TKelBarcode::Code_PostNet},
        {bcCodeCodabar, &TKelBarcode::Code_Codabar},
        {bcCodeEAN8, &TKelBarcode::Code_EAN8},
        {bcCodeEAN13, &TKelBarcode::Code_EAN13},
        {bcCodeUPC_A, &TKelBarcode::Code_UPC_A},
        {bcCodeUPC_E0, &TKelBarcode::Code_UPC_E0},
        {bcCodeUPC_E1, &TKelBarcode::Code_UPC_E1},
        {bcCodeUPC_Supp2, &TKelBarcode::Code_Supp2},
        {bcCodeUPC_Supp5, &TKelBarcode::Code_Supp5},
    };
    for (const auto& [typ, encoder] : encoders) {
        for (int byte = 0; byte < 256; ++byte) {
            for (bool checksum : {false, true}) {
                TKelBarcode b;
                enc::setUp(b, typ, "1" + std::string(1, static_cast<char>(byte)) + "2", {checksum});
                b.MakeModules();
                try {
                    EXPECT_TRUE(validModules(b, (b.*encoder)())) << SymbologyInfo[typ].Name;
                } catch (const EBarcodeError&) {
                }
            }
        }
    }
}
