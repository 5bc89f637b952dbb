// The scan check on pictures composed as the program composes them.  What a
// scanner should read comes from the symbologies' standards (character
// sets, digit pairs, check digits, worked examples); what it does read comes
// from zxing-cpp inside the check, so each row also pins down a decoder
// behaviour we rely on.

#include <gtest/gtest.h>

#include "Composition.h"
#include "ScanCheck.h"

namespace {

struct Checked {
    ScanResult result;
    QImage picture;
};

Checked check(TBarcodeType type, const std::string& value, bool checksum = false, int modul = 1,
              double angle = 0.0) {
    PictureInputs inputs;
    inputs.symbology = type;
    inputs.value = value;
    inputs.checksum = checksum;
    inputs.modul = modul;
    inputs.angle = angle;
    TKelBarcode barcode;
    setUpAsWindowBarcode(barcode);
    Checked out;
    out.picture = composePicture(inputs, barcode);
    ScanSubject subject;
    subject.symbology = type;
    subject.typed = value;
    subject.shown = barcode.Text();
    subject.checksum = checksum;
    subject.modul = modul;
    subject.angle = angle;
    out.result = checkScan(out.picture, subject);
    return out;
}

}  // namespace

TEST(ScanCheck, OutcomesAndReasons) {
    using O = ScanOutcome;
    struct Case {
        TBarcodeType type;
        const char* value;
        bool checksum;
        O outcome;
        const char* line;
        const char* comment;
    };
    const Case cases[] = {
        {bcCode128B, "Hello", false, O::Scans, "Scans: a scanner reads Hello.", "Code 128 set B: all printable ASCII"},
        {bcCode128A, "Ab", false, O::ScansDifferently,
         "Scans as A , not as Ab: b is not in the code set and is drawn as a space.",
         "set A has no lower case (ISO/IEC 15417 table 1)"},
        {bcCode128C, "12345", false, O::Scans, "Scans: a scanner reads 012345 (a 0 is put in front to make digit pairs).",
         "set C: digit pairs only"},
        {bcCodeEAN128C, "12345", true, O::Scans, "Scans: a scanner reads 123457 (check digit 7 added).",
         "modulo 10 of 12345: (5+3+1) x 3 + 4 + 2 = 33, 10 - 3 = 7; six digits need no leading 0"},
        {bcCode39, "A_B", false, O::ScansDifferently, "Scans as AB, not as A_B: _ cannot be encoded and is left out.",
         "'_' is not a Code 39 character (ISO/IEC 16388)"},
        {bcCode39, "CODE-39", true, O::Scans, "Scans: a scanner reads CODE-39.",
         "the modulo-43 check character is read and taken off"},
        {bcCode39Extended, "Hi\xE9", false, O::ScansDifferently,
         "Scans as Hi, not as Hi\xE9: \xE9 cannot be encoded and is left out.",
         "full ASCII covers bytes 0 to 127 only"},
        {bcCode93Extended, "a+b", false, O::Scans, "Scans: a scanner reads a+b.", "Code 93 full ASCII"},
        {bcCode_2_5_interleaved, "12345", false, O::DoesNotScan,
         "Does not scan: the last digit 5 has no partner and is not drawn; readers take Interleaved 2 of 5 from 6 "
         "digits.",
         "ISO/IEC 16390 pairs; zxing-cpp, like most scanners, wants 6 digits or more"},
        {bcCode_2_5_interleaved, "12345678", false, O::Scans, "Scans: a scanner reads 12345678.", "even count"},
        {bcCodeEAN13, "123", false, O::Scans, "Scans: a scanner reads 0000000000123 (padded with zeros).",
         "3 happens to be the check digit of 000000000012"},
        {bcCodeEAN13, "124", false, O::DoesNotScan,
         "Does not scan: padded with zeros; the last digit 4 is not the check digit 3.",
         "GS1 modulo 10 of 000000000012 is 3"},
        {bcCodeEAN13, "400638133393", true, O::Scans, "Scans: a scanner reads 4006381333931 (check digit 1 added).",
         "GS1 standard worked example"},
        {bcCodeEAN8, "9638507", true, O::Scans, "Scans: a scanner reads 96385074 (check digit 4 added).",
         "GS1 EAN-8 example 9638 5074"},
        {bcCodeUPC_E0, "123456", true, O::Scans, "Scans: a scanner reads 01234565.",
         "UPC-E 0 123456 expands to 012345000006, check digit 5"},
        {bcCodeUPC_E0, "1234567", false, O::ScansDifferently,
         "Scans as 01234565, not as 01234567: the last digit 7 is not the check digit 5.",
         "the parity pattern carries the right check digit, 5"},
        {bcCodeCodabar, "40156", false, O::Scans, "Scans: a scanner reads 40156.", "start A and stop B not returned"},
        {bcCodeMSI, "1234", false, O::CannotBeChecked, "Cannot be checked: no decoder reads MSI.",
         "neither zxing-cpp nor zbar reads MSI"},
        {bcCodePostNet, "12345", false, O::CannotBeChecked, "Cannot be checked: no decoder reads PostNet.",
         "a height-modulated postal code"},
        {bcCode_2_5_industrial, "1234", false, O::CannotBeChecked,
         "Cannot be checked: no decoder reads Industrial 2 of 5.", ""},
        {bcCode_2_5_matrix, "1234", false, O::CannotBeChecked, "Cannot be checked: no decoder reads Matrix 2 of 5.",
         ""},
        {bcCodeUPC_Supp5, "12345", false, O::CannotBeChecked,
         "Cannot be checked: no decoder reads a 5-digit add-on alone.", "readers take add-ons after a main symbol"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + c.comment);
        const Checked checked = check(c.type, c.value, c.checksum);
        EXPECT_EQ(checked.result.outcome, c.outcome);
        EXPECT_EQ(describeScan(checked.result), c.line);
    }
}

TEST(ScanCheck, WiderModulesRightAnglesAndOtherAngles) {
    // Code 128B "12345678" (the window's first picture) at modules of 1 to 3
    // pixels and turned by right angles reads the same.
    for (int modul : {1, 2, 3})
        for (double angle : {0.0, 90.0, 180.0, 270.0}) {
            SCOPED_TRACE("modul " + std::to_string(modul) + ", angle " + std::to_string(angle));
            const ScanResult result = check(bcCode128B, "12345678", false, modul, angle).result;
            EXPECT_EQ(result.outcome, ScanOutcome::Scans);
            EXPECT_EQ(result.read, "12345678");
        }
    // At any other angle the line decoders find nothing to follow: no guess.
    const ScanResult turned = check(bcCode128B, "12345678", false, 1, 33.0).result;
    EXPECT_EQ(turned.outcome, ScanOutcome::CannotBeChecked);
    EXPECT_EQ(describeScan(turned), "Cannot be checked: no decoder reads bars turned by 33 degrees.");
}

TEST(ScanCheck, NeedsItsQuietZoneOnlyInMemory) {
    // The bars start at the picture's left edge: without the quiet zone the
    // check adds, Code 128's start character has no margin at all.
    Checked checked = check(bcCode128B, "12345678");
    ASSERT_EQ(checked.result.outcome, ScanOutcome::Scans);
    const QImage before = checked.picture.copy();
    ScanSubject subject;
    subject.symbology = bcCode128B;
    subject.typed = subject.shown = "12345678";
    checkScan(checked.picture, subject);
    EXPECT_EQ(checked.picture, before);

    // Nothing to read: an empty or blank picture.
    EXPECT_EQ(checkScan(QImage(), subject).outcome, ScanOutcome::DoesNotScan);
    QImage blank(120, 80, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_EQ(describeScan(checkScan(blank, subject)), "Does not scan.");
}

TEST(ScanCheck, WordingComesFromTheLookupWithPlaceholdersFilledOnce) {
    ScanResult result;
    result.outcome = ScanOutcome::ScansDifferently;
    result.read = "{why}";  // a value holding a placeholder's name stays as it is
    result.expected = "A{B";
    result.notes.push_back({ScanNote::Skipped, "{", {}});
    const auto german = [](std::string_view key) -> std::string {
        if (key == "ScanDiffersWhy")
            return "Liest {read} statt {expected}: {why}";
        if (key == "ScanWhySkipped")
            return "{text} fehlt";
        return builtInScanText(key);
    };
    EXPECT_EQ(describeScan(result, german), "Liest {why} statt A{B: { fehlt");
    // Every key the window writes has a built-in wording.
    for (const ScanText& text : ScanTexts)
        EXPECT_FALSE(builtInScanText(text.key).empty()) << text.key;
}
