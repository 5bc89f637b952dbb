// The main window and the About window, headless with a scripted desktop.
// Each test runs in its own empty current folder (where the settings file
// goes) with its own language file.  Pictures are checked by decoding them
// with zxing-cpp and by the geometry of their ink, never against pictures
// made by the code under test.

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTimer>

#include <cstring>
#include <filesystem>
#include <string>

#include "AboutForm.h"
#include "BarCodeForm.h"
#include "BarcodeTypes.h"
#include "FakeDesktop.h"
#include "FormTestSupport.h"
#include "QtTestApplication.h"
#include "ScanOracle.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* SettingsFile = "HalvexBarcode.cfg";
const TFont DesignFont{.Name = "MS Sans Serif", .Height = -16};

using formtest::decodeBars;
using formtest::recordBytes;

using formtest::designLogFont;

bool isBlack(QRgb pixel) { return (pixel & 0xFFFFFF) == 0; }

// Rows [top, bottom) of the picture that hold any black pixel, as the first
// and last such row; {-1, -1} when none does.
std::pair<int, int> inkRows(const QImage& picture, int top, int bottom) {
    int first = -1, last = -1;
    for (int y = top; y < bottom && y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (isBlack(picture.pixel(x, y))) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first, last};
}

int firstInkColumn(const QImage& picture, int top, int bottom) {
    for (int x = 0; x < picture.width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (isBlack(picture.pixel(x, y))) return x;
    return -1;
}

class FormTest : public formtest::WindowTest {
protected:

    // Selects a symbology as the program does (no change handler) and
    // types a value.
    static void enter(TBarCodeForm& form, int typeIndex, const std::string& value) {
        form.setTypeIndex(typeIndex);
        form.setValueText(value);
    }
};

// --- Start ------------------------------------------------------------------

TEST_F(FormTest, FirstStartShowsCode128BOfTheDesignValue) {
    TBarCodeForm form(desktop);

    EXPECT_EQ(form.type->currentIndex(), 0);
    EXPECT_EQ(form.type->currentText(), "Code 128B");
    EXPECT_EQ(form.value->text(), "12345678");
    EXPECT_EQ(form.height->text(), "20");
    EXPECT_TRUE(form.display->isChecked());
    EXPECT_TRUE(form.line1->text().isEmpty());
    EXPECT_TRUE(form.line2->text().isEmpty());
    EXPECT_EQ(form.windowTitle(), "Halvex Rarovuv Uvizo");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.errors.empty());

    // Code 128: start, 8 data characters and the check character of 11
    // modules each, the stop of 13 (ISO/IEC 15417): 123 pixels at Modul 1.
    // Height: 20 mm x 2.83 = 56 bar rows, plus twice the 12-point value font.
    const QImage& picture = form.Picture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(123, 80));
    EXPECT_EQ(form.image->size(), picture.size());
    EXPECT_EQ(form.image->pos(), QPoint(0, 0));
    auto decoded = decodeBars(picture, 56, ZXing::BarcodeFormat::Code128);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->text, "12345678");
    // The bars fill rows 0 to 56 (the polygon takes in its bottom edge); the
    // value is written below them, its cell from row 57, with a white row
    // between.
    EXPECT_EQ(picture.copy(0, 56, 123, 1), picture.copy(0, 0, 123, 1));
    auto [textTop, textBottom] = inkRows(picture, 57, 80);
    EXPECT_GT(textTop, 57);
    EXPECT_LT(textBottom, 80);
    // Centred: as much white to the left of the digits as to the right.
    const int left = firstInkColumn(picture, 57, 80);
    const int right = firstInkColumn(picture.mirrored(true, false), 57, 80);
    EXPECT_LE(std::abs(left - right), 1);
}

TEST_F(FormTest, StoredNonNumericValueIsReportedBeforeTheWindowAppears) {
    // "EAN13" selected, value "12AB": typed and closed without a preview.
    writeFile(dir / SettingsFile, recordBytes(5, 20, "12AB", true));
    TBarCodeForm form(desktop);

    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0], "The 'Barcode Value' must be numeric for EAN13 format.");
    EXPECT_TRUE(form.value->text().isEmpty());
    EXPECT_EQ(form.focusWidget(), form.value);
    EXPECT_TRUE(form.Picture().isNull());
    EXPECT_EQ(form.image->geometry(), QRect(17, 17, 288, 192));
    form.show();
    EXPECT_EQ(form.focusWidget(), form.value);
}

TEST_F(FormTest, StoredValueTheSymbologyCannotEncodeStillOpensTheWindow) {
    // "Code 93" with '#', which Code 93 has no character for.
    writeFile(dir / SettingsFile, recordBytes(3, 20, "A#B", true));
    TBarCodeForm form(desktop);

    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("Code93 bad Data <A#B>"), std::string::npos) << desktop.errors[0];
    EXPECT_EQ(form.value->text(), "A#B");
    EXPECT_EQ(form.type->currentIndex(), 3);
    EXPECT_TRUE(form.Picture().isNull());

    // The user corrects the value and the next preview draws it.
    form.setValueText("AB");
    form.previewButtonClick();
    EXPECT_FALSE(form.Picture().isNull());
    auto decoded = decodeBars(form.Picture(), 56, ZXing::BarcodeFormat::Code93);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->text, "AB");
}

TEST_F(FormTest, AboutCaptionIsNotTakenFromTheLanguageFile) {
    writeFile(languageFile, "[BarCodeForm]\naboutButton=Info\npreviewButton=Vorschau\n");
    TBarCodeForm form(desktop);
    EXPECT_EQ(form.aboutButton->text(), "About");
    EXPECT_EQ(form.previewButton->text(), "Vorschau");
}

TEST_F(FormTest, TabOrderFollowsTheDesign) {
    TBarCodeForm form(desktop);
    const std::vector<QWidget*> expected = {
        form.value,         form.line1,      form.line2,       form.type,        form.height,
        form.previewButton, form.copyButton, form.saveButton,  form.exitButton,  form.fontButton,
        form.display,       form.aboutButton, form.helpButton, form.printButton, form.BitBtn1,
        form.BitBtn2};
    std::vector<QWidget*> walked;
    QWidget* at = form.value;
    do {
        if ((at->focusPolicy() & Qt::TabFocus) && at->parentWidget() == &form) walked.push_back(at);
        at = at->nextInFocusChain();
    } while (at != form.value && walked.size() < 40);
    EXPECT_EQ(walked, expected);
}

TEST_F(FormTest, FirstRunWritesTheCaptionsOfLabelsAndButtonsOnly) {
    { TBarCodeForm form(desktop); }
    // The designed captions, in the order the controls are created; edit
    // boxes, the list, the spinner, the panel and the picture have none.
    // After them come the wordings of the scan check's line, which is no
    // caption itself.
    std::string scanTexts;
    for (const ScanText& text : ScanTexts) scanTexts += std::string(text.key) + "=" + text.text + "\n";
    EXPECT_EQ(readFile(languageFile),
              "[BarCodeForm]\nCaption=Halvex Rarovuv Uvizo\nLabel28=Barcode Type:\nLabel9=Barcode Height:\n"
              "Label14=(mm)\ndisplay=Display Text\nLabel7=Barcode Value:\nfontButton=Change &Font\n"
              "Label1=Line One:\nBitBtn1=Change &Font\nLabel2=Line Two:\nBitBtn2=Change &Font\n"
              "previewButton=Pre&view\nprintButton=&Print\ncopyButton=&Copy To Clipboard\n"
              "saveButton=&Save To File\nhelpButton=&Help\naboutButton=About\nexitButton=&Exit\n" +
                  scanTexts);
}

TEST_F(FormTest, SpinnerStepsTheHeightWithinOneToHundred) {
    struct Case {
        const char* typed;
        int direction;
        const char* after;
        const char* source;
    } cases[] = {
        {"20", +1, "21", "one step up"},
        {"20", -1, "19", "one step down"},
        {"100", +1, "100", "no step past the top"},
        {"1", -1, "1", "no step below the bottom, no wrap-around"},
        {"500", -1, "99", "a typed number past the range is taken at the top"},
        {"x", +1, "100", "a text that is no number steps from the last position (99 + 1)"},
    };
    TBarCodeForm form(desktop);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        form.setHeightText(c.typed);
        form.heightUpDown->Step(c.direction);
        EXPECT_EQ(form.height->text(), c.after);
    }
    form.setHeightText("30");
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(form.height, &up);
    EXPECT_EQ(form.height->text(), "31");
}

TEST_F(FormTest, EnterPressesTheFocusedButtonOnly) {
    TBarCodeForm form(desktop);
    const QImage before = form.Picture();
    form.setValueText("NEW");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);

    form.value->setFocus();
    QApplication::sendEvent(&form, &enter);
    EXPECT_EQ(form.Picture(), before);  // Enter in an edit box does nothing

    form.previewButton->setFocus();
    QApplication::sendEvent(&form, &enter);
    auto decoded = decodeBars(form.Picture(), 56, ZXing::BarcodeFormat::Code128);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->text, "NEW");
}

// --- Closing ----------------------------------------------------------------

struct CloseCase {
    const char* name;
    void (*close)(TBarCodeForm&);
};

class CloseTest : public FormTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, SavesHidesShowsAboutAndEnds) {
    bool hiddenDuringAbout = false;
    bool settingsWrittenBeforeAbout = false;
    int closedSignals = 0;
    {
        TBarCodeForm form(desktop);
        form.show();
        QObject::connect(&form, &TBarCodeForm::formClosed, [&] { ++closedSignals; });
        form.setValueText("abc");  // upper-cased for the stored Code 39 below
        form.setTypeIndex(2);
        desktop.whileModal = [&](QDialog& window) {
            hiddenDuringAbout = form.isHidden();
            settingsWrittenBeforeAbout = fs::exists(dir / SettingsFile);
            EXPECT_EQ(window.windowTitle(), "About");
        };
        GetParam().close(form);
        EXPECT_TRUE(form.isHidden());
        EXPECT_EQ(closedSignals, 1);
        // The About window has been destroyed and has written its captions.
        EXPECT_NE(readFile(languageFile).find("[AboutForm]"), std::string::npos);
        EXPECT_EQ(readFile(languageFile).find("[BarCodeForm]"), std::string::npos);
    }
    EXPECT_EQ(desktop.modalWindows, std::vector<QString>{"AboutForm"});
    EXPECT_TRUE(hiddenDuringAbout);
    EXPECT_TRUE(settingsWrittenBeforeAbout);
    const std::string font = designLogFont();
    EXPECT_EQ(readFile(dir / SettingsFile), recordBytes(2, 20, "ABC", true) + font + font + font);
    const std::string language = readFile(languageFile);
    EXPECT_NE(language.find("[BarCodeForm]"), std::string::npos);
    EXPECT_NE(language.find("aboutButton=About"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    ExitAndCloseBox, CloseTest,
    ::testing::Values(CloseCase{"ExitButton", [](TBarCodeForm& f) { f.exitButton->click(); }},
                      CloseCase{"CloseBox", [](TBarCodeForm& f) { f.close(); }},
                      CloseCase{"EscapeKey",
                                [](TBarCodeForm& f) {
                                    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                                    QApplication::sendEvent(&f, &escape);
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormTest, InvalidHeightAtCloseIsReportedAndTheLastValidHeightIsStored) {
    {
        TBarCodeForm form(desktop);
        form.setHeightText("12x");
        form.close();
    }
    EXPECT_EQ(desktop.errors, std::vector<std::string>{"'12x' is not a valid integer value"});
    EXPECT_EQ(readFile(dir / SettingsFile).substr(0, 360), recordBytes(0, 20, "12345678", true));
    EXPECT_EQ(desktop.modalWindows.size(), 1u);
}

// --- Preview ----------------------------------------------------------------

struct CompletionCase {
    int typeIndex;
    const char* typed;
    const char* text;  // what the barcode receives
    ZXing::BarcodeFormat format;
    const char* source;
};

const CompletionCase CompletionCases[] = {
    {5, "123", "0000000001236", ZXing::BarcodeFormat::EAN13,
     "twelve digits with zeros in front; GS1 mod-10 check digit 6"},
    {5, "40063813339312", "4006381333931", ZXing::BarcodeFormat::EAN13,
     "cut to twelve digits; 4006381333931 is the GS1 standard's EAN-13 example"},
    {6, "", "00000000", ZXing::BarcodeFormat::EAN8, "seven zeros and their check digit 0"},
    {7, "03600029145", "036000291452", ZXing::BarcodeFormat::UPCA, "the UPC-A example of the GS1 check digit"},
};

TEST_F(FormTest, EanAndUpcValuesAreCompletedWithTheirCheckDigit) {
    TBarCodeForm form(desktop);
    for (const CompletionCase& c : CompletionCases) {
        SCOPED_TRACE(c.source);
        enter(form, c.typeIndex, c.typed);
        form.previewButtonClick();
        EXPECT_TRUE(desktop.messages.empty());
        EXPECT_TRUE(desktop.errors.empty());
        EXPECT_EQ(form.Barcode().Text(), c.text);
        auto decoded = decodeBars(form.Picture(), 56, c.format);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->text, c.text);
    }
}

struct NumericCase {
    int typeIndex;
    const char* typed;
    const char* message;
    const char* source;
};

const NumericCase NumericCases[] = {
    {4, "12a4", "The 'Barcode Value' must be numeric for Code 25 format.", "a letter among digits"},
    {8, "12 34", "The 'Barcode Value' must be numeric for Code 128C format.", "a blank between digit pairs"},
    {5, "12\xB2", "The 'Barcode Value' must be numeric for EAN13 format.",
     "Latin-1 superscript two is no decimal digit"},
};

TEST_F(FormTest, NonDigitsForANumericSymbologyKeepTheOldPicture) {
    for (const NumericCase& c : NumericCases) {
        SCOPED_TRACE(c.source);
        FakeDesktop local;
        TBarCodeForm form(local);
        const QImage before = form.Picture();
        ASSERT_FALSE(before.isNull());

        enter(form, c.typeIndex, c.typed);
        form.previewButtonClick();
        EXPECT_EQ(local.messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(form.value->text().isEmpty());
        EXPECT_EQ(form.focusWidget(), form.value);
        EXPECT_EQ(form.Picture(), before);
        EXPECT_EQ(form.image->size(), before.size());
        // The component holds what the preview set before the check.
        EXPECT_EQ(form.Barcode().Typ(), BarcodeTypeOfIndex[std::size_t(c.typeIndex)].Type);
    }
}

TEST_F(FormTest, ValueCaseFollowsTheSymbology) {
    struct Case {
        int typeIndex;
        const char* typed;
        const char* text;
        ZXing::BarcodeFormat format;
        const char* source;
    } cases[] = {
        {2, "abc-1", "ABC-1", ZXing::BarcodeFormat::Code39, "Code 39 has no lower case"},
        {3, "abc-1", "ABC-1", ZXing::BarcodeFormat::Code93, "Code 93 has no lower case"},
        {0, "abc", "abc", ZXing::BarcodeFormat::Code128, "Code 128 code set B has lower case"},
        {1, "abc", "abc", ZXing::BarcodeFormat::Code128, "EAN-128 carries lower case too"},
    };
    TBarCodeForm form(desktop);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        enter(form, c.typeIndex, c.typed);
        form.previewButtonClick();
        EXPECT_EQ(form.Barcode().Text(), c.text);
        EXPECT_EQ(form.value->text(), c.typed);  // the box keeps what was typed
        auto decoded = decodeBars(form.Picture(), 56, c.format);
        ASSERT_TRUE(decoded);
        EXPECT_NE(decoded->text.find(c.text), std::string::npos) << decoded->text;
    }
}

TEST_F(FormTest, BlankLinesTakeNoRoom) {
    TBarCodeForm form(desktop);
    const QImage plain = form.Picture();
    for (const char* blank : {"   ", "\t", " \t "}) {
        form.setLine1Text(blank);
        form.setLine2Text(blank);
        form.previewButtonClick();
        EXPECT_EQ(form.Picture(), plain) << "line text of " << std::strlen(blank) << " blanks";
    }
}

TEST_F(FormTest, TwoLinesAreLaidOutUnderTheValue) {
    // Line 1 "A" in a 12-point font, line 2 "B" in a 10-point font, chosen
    // through the font buttons; value font 12 points, 20 mm.
    TBarCodeForm form(desktop);
    TFont ten = DesignFont;
    ten.Height = -13;
    desktop.fontAnswers = {DesignFont, ten};
    form.BitBtn1Click();
    form.BitBtn2Click();
    EXPECT_EQ(form.font(SettingsFont::Line2).Size(), 10);
    form.setLine1Text("A");
    form.setLine2Text("B");
    form.previewButtonClick();

    // H = 56 + 2 x 12 + (12 + 5) + (10 + 5); A's cell starts at y = 80,
    // B's at y = 97.
    const QImage& picture = form.Picture();
    ASSERT_EQ(picture.height(), 112);
    auto [aTop, aBottom] = inkRows(picture, 80, 97);
    auto [bTop, bBottom] = inkRows(picture, 97, 112);
    EXPECT_GT(aTop, 80);
    EXPECT_LT(aBottom, 97);
    EXPECT_GT(bTop, 97);
    // Both start at x = 1, left-aligned.
    EXPECT_GE(firstInkColumn(picture, 80, 97), 1);
    EXPECT_LT(firstInkColumn(picture, 80, 97), 6);
    EXPECT_GE(firstInkColumn(picture, 97, 112), 1);
    EXPECT_LT(firstInkColumn(picture, 97, 112), 6);
}

TEST_F(FormTest, HeightsFarOutsideTheSpinnerAreRefusedAndThePictureKept) {
    struct Case {
        const char* typed;
        bool message;  // false: the integer conversion fails and the last height is used
        const char* source;
    } cases[] = {
        {"99999999", true, "2.83 times it would overflow a picture's side"},
        {"-5", true, "negative bars"},
        {"0", true, "no bars at all"},
        {"11579", true, "just past the tallest picture (32767 rows / 2.83)"},
        {"99999999999", false, "past the 32-bit range: not an integer at all"},
        {"abc", false, "not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        FakeDesktop local;
        TBarCodeForm form(local);
        const QImage before = form.Picture();
        form.setHeightText(c.typed);
        form.previewButtonClick();
        if (c.message) {
            EXPECT_EQ(local.messages, std::vector<std::string>{
                                          "The 'Barcode Height' must be a whole number of millimetres from 1 to 11578."});
            EXPECT_TRUE(local.errors.empty());
        } else {
            EXPECT_EQ(local.errors, std::vector<std::string>{"'" + std::string(c.typed) + "' is not a valid integer value"});
            EXPECT_TRUE(local.messages.empty());
        }
        EXPECT_EQ(form.Picture(), before);
        EXPECT_EQ(form.Barcode().Height(), 56);
    }
}

TEST_F(FormTest, BarHeightIsMillimetresTimes283Truncated) {
    TBarCodeForm form(desktop);
    form.display->setChecked(false);
    // 10 x 2.83 = 28.3, 1 x 2.83 = 2.83, 11578 x 2.83 = 32765.74.
    for (auto [mm, rows] : {std::pair{10, 28}, std::pair{1, 2}, std::pair{11578, 32765}}) {
        form.setHeightText(std::to_string(mm));
        form.previewButtonClick();
        EXPECT_TRUE(desktop.messages.empty());
        EXPECT_EQ(form.Picture().height(), rows) << mm << " mm";
    }
}

TEST_F(FormTest, PictureLargerThanThePanelIsCutOffByIt) {
    TBarCodeForm form(desktop);
    form.setValueText(std::string(40, 'W'));
    form.setHeightText("100");
    form.previewButtonClick();
    const QImage& picture = form.Picture();
    EXPECT_GT(picture.width(), form.Panel1->width());
    EXPECT_GT(picture.height(), form.Panel1->height());
    EXPECT_EQ(form.Panel1->geometry(), QRect(448, 24, 321, 225));
    EXPECT_EQ(form.image->parentWidget(), form.Panel1);
    EXPECT_EQ(form.image->size(), picture.size());
    auto decoded = decodeBars(picture, 283, ZXing::BarcodeFormat::Code128);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->text, std::string(40, 'W'));
}

TEST_F(FormTest, TypeChangeSetsTheValueFontSize) {
    struct Case {
        int typeIndex;
        int points;
    } cases[] = {{6, 10}, {0, 12}, {4, 8}, {3, 12}, {7, 10}, {5, 8}, {8, 8} /* Code 128C keeps 8 */, {1, 12},
                 {2, 12}};
    TBarCodeForm form(desktop);
    const QImage before = form.Picture();
    const TFont showTextFont = form.Barcode().ShowTextFont();
    for (const Case& c : cases) {
        form.type->setCurrentIndex(c.typeIndex);
        form.typeChange();
        EXPECT_EQ(form.font(SettingsFont::Value).Size(), c.points) << form.type->currentText().toStdString();
        EXPECT_EQ(form.font(SettingsFont::Value).Name, "MS Sans Serif");
    }
    // Nothing is redrawn and the component is untouched until Preview.
    EXPECT_EQ(form.Picture(), before);
    EXPECT_EQ(form.Barcode().Typ(), bcCode128B);
    EXPECT_EQ(form.Barcode().ShowTextFont(), showTextFont);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(FormTest, TypeChangeChecksTheValueAndStillSetsTheFont) {
    TBarCodeForm form(desktop);
    form.setValueText("12a");
    form.type->setCurrentIndex(6);
    form.typeChange();
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"The 'Barcode Value' must be numeric for EAN8 format."});
    EXPECT_TRUE(form.value->text().isEmpty());
    EXPECT_EQ(form.font(SettingsFont::Value).Size(), 10);
}

TEST_F(FormTest, UserPickingASymbologyRunsTypeChangeButLoadingDoesNot) {
    // Stored "Code 39" with a letter; selecting "Code 25" from the program
    // runs no check, the user's pick does.
    writeFile(dir / SettingsFile, recordBytes(2, 20, "X1", true));
    TBarCodeForm form(desktop);
    form.setTypeIndex(4);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(form.value->text(), "X1");
    emit form.type->activated(4);  // what the list sends when the user picks an item
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"The 'Barcode Value' must be numeric for Code 25 format."});
}

TEST_F(FormTest, FontButtonsChangeTheirFontOnlyWhenConfirmed) {
    TBarCodeForm form(desktop);
    const QImage before = form.Picture();
    TFont bold = DesignFont;
    bold.Bold = true;
    bold.Color = 0xFF0000;

    form.fontButtonClick();  // cancelled
    EXPECT_EQ(desktop.fontRequests.back(), DesignFont);
    EXPECT_EQ(form.font(SettingsFont::Value), DesignFont);

    desktop.fontAnswers = {bold};
    form.fontButtonClick();
    EXPECT_EQ(form.font(SettingsFont::Value), bold);
    EXPECT_EQ(form.Barcode().ShowTextFont(), bold);
    EXPECT_TRUE(form.value->font().bold());
    EXPECT_EQ(form.value->palette().color(QPalette::Text), QColor(0xFF, 0, 0));

    desktop.fontAnswers = {bold};
    form.BitBtn2Click();
    EXPECT_EQ(form.font(SettingsFont::Line2), bold);
    EXPECT_EQ(form.font(SettingsFont::Line1), DesignFont);
    EXPECT_EQ(desktop.fontRequests.size(), 3u);
    EXPECT_EQ(form.Picture(), before);  // no preview
}

TEST_F(FormTest, HelpAndAboutButtonsOpenThroughTheDesktop) {
    TBarCodeForm form(desktop);
    form.helpButton->click();
    form.aboutButton->click();
    EXPECT_EQ(desktop.openedDocuments,
              (std::vector<std::string>{"HalvexRarovuvUvizo.htm", "https://halvex.example/barcode"}));
    EXPECT_TRUE(desktop.modalWindows.empty());
}

// --- About window -----------------------------------------------------------

void clickLabel(QLabel* label) {
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, label->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(label, &press);
    QApplication::sendEvent(label, &release);
}

TEST_F(FormTest, AboutLinksOpenTheMakersPagesAndLeaveTheWindowOpen) {
    writeFile(languageFile, "[AboutForm]\nLabel2=Ask us\n[BarCodeForm]\nLabel2=Not this one\n");
    TAboutForm about(nullptr, desktop);
    about.show();
    EXPECT_EQ(about.Label2->text(), "Ask us");
    EXPECT_EQ(about.notice->text(), "Halvex Website");
    clickLabel(about.Label2);
    clickLabel(about.notice);
    EXPECT_EQ(desktop.openedDocuments,
              (std::vector<std::string>{"https://halvex.example/enquiry", "https://halvex.example/barcode"}));
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.size(), QSize(607, 380));
}

TEST_F(FormTest, AboutWindowEndsItsModalRunByCloseButtonOrCloseBox) {
    for (bool byButton : {true, false}) {
        TAboutForm about(nullptr, desktop);
        QTimer::singleShot(0, &about, [&] {
            if (byButton) about.closeButton->click();
            else about.close();
        });
        about.exec();  // returns only when the window has closed
        EXPECT_FALSE(about.isVisible());
    }
}

}  // namespace
