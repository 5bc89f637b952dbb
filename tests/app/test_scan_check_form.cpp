// The main window's scan check: after every preview the line under the
// picture says whether the symbol scans and as what, and why not where the
// engine knows.  The expected reads come from the symbologies' standards
// (check digits, digit pairs, character sets), not from the code under test;
// the picture must stay the composition's own, pixel for pixel.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "BarCodeForm.h"
#include "Composition.h"
#include "FakeDesktop.h"
#include "FormTestSupport.h"
#include "LanguageFile.h"
#include "QtTestApplication.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

class ScanCheckFormTest : public formtest::WindowTest {};

std::string lineOf(const TBarCodeForm& form) {
    return form.scanResult->text().toStdString();
}

// The picture the composition draws for the window's current inputs, made
// without the window (and so without any scan check).
QImage composedAlone(TBarCodeForm& form) {
    PictureInputs inputs;
    inputs.symbology = form.Barcode().Typ();
    inputs.value = form.Barcode().Text();
    inputs.heightMM = 20;
    inputs.display = form.display->isChecked();
    inputs.valueFont = form.font(SettingsFont::Value);
    return composePicture(inputs);
}

}  // namespace

TEST_F(ScanCheckFormTest, EachPreviewTellsWhetherAndAsWhatTheSymbolScans) {
    struct Case {
        int typeIndex;
        const char* value;
        ScanOutcome outcome;
        const char* read;
        const char* line;
        const char* comment;
    };
    const Case cases[] = {
        {0, "12345678", ScanOutcome::Scans, "12345678", "Scans: a scanner reads 12345678.",
         "Code 128B holds every printable ASCII character (ISO/IEC 15417)"},
        {2, "A#B", ScanOutcome::ScansDifferently, "AB",
         "Scans as AB, not as A#B: # cannot be encoded and is left out.",
         "'#' is not among the 43 characters of Code 39 (ISO/IEC 16388 table 1)"},
        {4, "1234567", ScanOutcome::ScansDifferently, "123456",
         "Scans as 123456, not as 1234567: the last digit 7 has no partner and is not drawn.",
         "Interleaved 2 of 5 draws digits in pairs (ISO/IEC 16390)"},
        {4, "1234", ScanOutcome::DoesNotScan, "",
         "Does not scan: readers take Interleaved 2 of 5 from 6 digits.",
         "zxing-cpp, like most scanners, refuses Interleaved 2 of 5 shorter than 6 digits"},
        {5, "123", ScanOutcome::Scans, "0000000001236",
         "Scans: a scanner reads 0000000001236 (padded with zeros; check digit 6 added).",
         "GS1 modulo-10 check digit of 000000000123: 3 x 3 + 2 + 3 x 1 = 14, 10 - 4 = 6"},
        {7, "03600029145", ScanOutcome::Scans, "036000291452",
         "Scans: a scanner reads 036000291452 (check digit 2 added).",
         "UPC-A worked example of the GS1 standard"},
        {8, "123", ScanOutcome::Scans, "0123",
         "Scans: a scanner reads 0123 (a 0 is put in front to make digit pairs).",
         "Code set C encodes digit pairs (ISO/IEC 15417)"},
    };
    TBarCodeForm form(desktop);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + c.comment);
        form.setTypeIndex(c.typeIndex);
        form.setValueText(c.value);
        form.previewButtonClick();
        ASSERT_TRUE(desktop.errors.empty()) << desktop.errors.back();
        EXPECT_EQ(form.ScanCheck().outcome, c.outcome);
        EXPECT_EQ(form.ScanCheck().read, c.read);
        EXPECT_EQ(lineOf(form), c.line);
        // The check leaves the picture as the composition drew it.
        EXPECT_EQ(form.Picture(), composedAlone(form));
    }
}

TEST_F(ScanCheckFormTest, AFailedPreviewLeavesTheLineOfThePictureShown) {
    TBarCodeForm form(desktop);
    const std::string before = lineOf(form);
    ASSERT_EQ(before, "Scans: a scanner reads 12345678.");
    form.setTypeIndex(5);
    form.setValueText("12a");  // EAN13 takes digits only: refused, old picture kept
    form.previewButtonClick();
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(lineOf(form), before);
}

TEST_F(ScanCheckFormTest, TheLineIsNoCaptionButItsWordingIsTranslatable) {
    {
        TBarCodeForm form(desktop);
    }
    LanguageFile written;
    ASSERT_EQ(written.load(languageFile), LanguageFile::LoadStatus::Loaded);
    // The label itself has no key; its parts have, after the captions.
    EXPECT_FALSE(written.value("BarCodeForm", "scanResult"));
    EXPECT_EQ(written.value("BarCodeForm", "ScanOk"), "Scans: a scanner reads {read}.");
    EXPECT_EQ(written.value("BarCodeForm", "ScanWhyCheckDigit"), "check digit {text} added");
    const auto keys = written.keys("BarCodeForm");
    const auto at = [&](const char* key) { return std::find(keys.begin(), keys.end(), key) - keys.begin(); };
    EXPECT_LT(at("exitButton"), at("ScanOk"));

    // A translator's wording is used, its placeholders filled in, and
    // written back as it is.
    written.setValue("BarCodeForm", "ScanOkWhy", "Lesbar als {read} ({why})");
    written.setValue("BarCodeForm", "ScanWhyPadded", "mit Nullen aufgef\xFC" "llt");
    written.setValue("BarCodeForm", "ScanWhyCheckDigit", "Pr\xFC" "fziffer {text}");
    written.setValue("BarCodeForm", "scanResult", "ignored");
    ASSERT_TRUE(written.save(languageFile));
    {
        TBarCodeForm form(desktop);
        form.setTypeIndex(5);
        form.setValueText("123");
        form.previewButtonClick();
        EXPECT_EQ(form.scanResult->text(), QString::fromLatin1("Lesbar als 0000000001236 (mit Nullen aufgef\xFC" "llt; Pr\xFC" "fziffer 6)"));
    }
    LanguageFile again;
    ASSERT_EQ(again.load(languageFile), LanguageFile::LoadStatus::Loaded);
    EXPECT_EQ(again.value("BarCodeForm", "ScanWhyCheckDigit"), "Pr\xFC" "fziffer {text}");
}
