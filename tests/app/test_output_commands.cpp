// The main window's Save, Copy and Print, headless with a scripted desktop.
// What they write is read back by readers that are not ours: Qt's and
// djpeg's decoders, file(1) and ImageMagick's identify, the JPEG's own
// markers, poppler's pdftotext and pdftoppm, and zbar/zxing on the pixels.

#include <gtest/gtest.h>

#include <QPointer>
#include <QProcess>
#include <QRegularExpression>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "BarCodeForm.h"
#include "FakeDesktop.h"
#include "FormTestSupport.h"
#include "JpegFacts.h"
#include "GmPrinter.h"
#include "PrintPreviewForm.h"
#include "QtTestApplication.h"
#include "ScanOracle.h"
#include "TempDir.h"
#include "../printing/PrintTestSupport.h"

namespace fs = std::filesystem;
using namespace jpegfacts;

namespace {

constexpr const char* SettingsFile = "HalvexBarcode.cfg";
constexpr const char* NumericMessage = "The 'Barcode Value' must be numeric for EAN13 format.";
// Rows of bars in a picture of the design height: 20 mm x 2.83, truncated,
// is 56, and the bars' polygons take in their bottom edge, row 56.
constexpr int BarsHeight = 57;
// Symbology list rows.
constexpr int Code128BRow = 0;
constexpr int Ean13Row = 5;

// The standard output of a tool, or nullopt when it failed or is missing.
std::optional<std::string> tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput().toStdString();
}

QString q(const fs::path& path) { return QString::fromStdString(path.string()); }

std::set<std::string> entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// The picture with the bars of the 20 mm design height, read by zbar.
std::optional<std::string> zbarReads(const QImage& picture) {
    auto decoded = oracle::decodeZbar(formtest::barsWithQuietZone(picture, BarsHeight));
    if (!decoded) return std::nullopt;
    return decoded->text;
}

class OutputTest : public formtest::WindowTest {
protected:

    // Selects a symbology, types a value and previews it.
    static void show(TBarCodeForm& form, int row, const std::string& value) {
        form.setTypeIndex(row);
        form.setValueText(value);
        form.previewButtonClick();
    }

    // Saves the window's picture under `path` through the save dialog.
    void save(TBarCodeForm& form, const fs::path& path) {
        desktop.saveAnswers = {path.string()};
        form.saveButton->click();
    }
};

// --- Save --------------------------------------------------------------------

TEST_F(OutputTest, SaveChoosesTheFormatByTheLastFourCharactersOfTheName) {
    enum Kind { Jpeg, Bitmap, Nothing };
    const struct {
        const char* name;
        Kind kind;
        const char* comment;
    } cases[] = {
        {"Label.Jpg", Jpeg, "the ending in any case"},
        {"label.JPG", Jpeg, "upper case"},
        {"label.BMP", Bitmap, "upper case"},
        {"label.bmp", Bitmap, "the dialog's second filter"},
        {"label.jpeg", Nothing, "the last four characters are 'jpeg'"},
        {"label.png", Nothing, "a format Save does not write"},
        {"label", Nothing, "a bare name: the dialog added no extension"},
        {"bmp", Nothing, "shorter than four characters"},
        {"label.bmp.txt", Nothing, "only the end of the name counts"},
    };
    TBarCodeForm form(desktop);
    const QImage picture = form.Picture();
    ASSERT_FALSE(picture.isNull());

    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.comment);
        const std::set<std::string> before = entries(dir.path());
        desktop.saveRequests.clear();
        save(form, dir / c.name);

        ASSERT_EQ(desktop.saveRequests.size(), 1u);
        EXPECT_EQ(desktop.saveRequests[0].filter, "JPeg Image (*.jpg)|*.jpg|Bitmap (*.bmp)|*.bmp");
        EXPECT_EQ(desktop.saveRequests[0].defaultExtension, ".jpg");
        EXPECT_TRUE(desktop.messages.empty());
        EXPECT_TRUE(desktop.errors.empty());
        if (c.kind == Nothing) {
            EXPECT_EQ(entries(dir.path()), before) << "no file, not even a temporary one";
            continue;
        }
        std::set<std::string> expected = before;
        expected.insert(c.name);
        EXPECT_EQ(entries(dir.path()), expected);
        const std::string bytes = readFile(dir / c.name);
        // JPEG starts with SOI FF D8 (ITU-T T.81 B.1.1.3); a Windows bitmap with "BM".
        EXPECT_EQ(bytes.substr(0, 2), c.kind == Jpeg ? std::string("\xFF\xD8") : std::string("BM"));
        const QImage read(q(dir / c.name), c.kind == Jpeg ? "JPG" : "BMP");
        EXPECT_EQ(read.size(), picture.size());
    }

    // Cancel writes nothing.
    const std::set<std::string> before = entries(dir.path());
    desktop.saveAnswers.clear();
    form.saveButtonClick();
    EXPECT_EQ(entries(dir.path()), before);
}

TEST_F(OutputTest, JpegIsBaselineFullColourQuality90AndReadable) {
    TBarCodeForm form(desktop);
    show(form, Ean13Row, "400638133393");
    save(form, dir / "label.jpg");
    ASSERT_TRUE(desktop.errors.empty()) << desktop.errors.front();

    const JpegFacts facts = readJpegMarkers(readFile(dir / "label.jpg"));
    EXPECT_EQ(facts.sofMarker, 0xC0) << "SOF0 is baseline sequential DCT (T.81 table B.1)";
    EXPECT_EQ(facts.components, 3) << "full colour: Y, Cb and Cr";
    ASSERT_EQ(facts.tables.count(0), 1u);
    ASSERT_EQ(facts.tables.count(1), 1u);
    EXPECT_EQ(facts.tables.at(0), scaledForQuality90(kLuminance));
    EXPECT_EQ(facts.tables.at(1), scaledForQuality90(kChrominance));

    // EAN-13 of 400638133393 completes with the check digit 1 (GS1 modulo 10).
    const QImage viaQt(q(dir / "label.jpg"));
    ASSERT_FALSE(viaQt.isNull());
    EXPECT_EQ(viaQt.size(), form.Picture().size());
    EXPECT_EQ(zbarReads(viaQt), std::optional<std::string>("4006381333931"));

    ASSERT_TRUE(tool("djpeg", {"-pnm", "-outfile", q(dir / "label.ppm"), q(dir / "label.jpg")}));
    EXPECT_EQ(readFile(dir / "label.ppm").substr(0, 2), "P6") << "djpeg writes colour (P6) for 3 components";
    const QImage viaDjpeg(q(dir / "label.ppm"));
    ASSERT_FALSE(viaDjpeg.isNull());
    EXPECT_EQ(viaDjpeg.size(), form.Picture().size());
    const auto zx = formtest::decodeBars(viaDjpeg, BarsHeight, ZXing::BarcodeFormat::EAN13);
    ASSERT_TRUE(zx);
    EXPECT_EQ(zx->text, "4006381333931");
}

TEST_F(OutputTest, BitmapIs24BitsAndOpensInOtherReaders) {
    TBarCodeForm form(desktop);
    show(form, Code128BRow, "HALVEX-42");
    save(form, dir / "label.bmp");
    ASSERT_TRUE(desktop.errors.empty()) << desktop.errors.front();

    const std::string bytes = readFile(dir / "label.bmp");
    ASSERT_GT(bytes.size(), 54u);
    // BITMAPINFOHEADER biBitCount at offset 28.
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);
    const QString size = QStringLiteral("%1 x %2").arg(form.Picture().width()).arg(form.Picture().height());

    const auto described = tool("file", {"-b", q(dir / "label.bmp")});
    ASSERT_TRUE(described);
    EXPECT_NE(described->find("PC bitmap"), std::string::npos) << *described;
    EXPECT_NE(described->find((size + " x 24").toStdString()), std::string::npos) << *described;
    const auto identified = tool("identify", {"-format", "%m %w x %h", q(dir / "label.bmp")});
    ASSERT_TRUE(identified);
    // ImageMagick names a bitmap with the Windows 3.x header "BMP3".
    EXPECT_EQ(*identified, ("BMP3 " + size).toStdString());

    // Lossless: Qt's reader gets the picture back pixel for pixel.
    const QImage read(q(dir / "label.bmp"));
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), form.Picture().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(zbarReads(read), std::optional<std::string>("HALVEX-42"));
}

TEST_F(OutputTest, SaveAfterAChangedValueWithoutPreviewHoldsThePreviousPicture) {
    TBarCodeForm form(desktop);
    show(form, Code128BRow, "FIRST-1");
    form.setValueText("SECOND-2");
    form.setTypeIndex(Ean13Row);
    save(form, dir / "label.bmp");

    EXPECT_TRUE(desktop.messages.empty()) << "no value check without a preview";
    EXPECT_EQ(form.value->text(), "SECOND-2");
    EXPECT_EQ(zbarReads(QImage(q(dir / "label.bmp"))), std::optional<std::string>("FIRST-1"));
}

TEST_F(OutputTest, AFileThatCannotBeCreatedIsReportedAndTheOldOneKept) {
    TBarCodeForm form(desktop);
    const std::string old = "the previous label, whole";

    // Root ignores the write bits, so the read-only cases hold for other
    // users only; the rest hold for everyone.
    writeFile(dir / "locked.jpg", old);
    fs::permissions(dir / "locked.jpg", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directory(dir / "shut");
    writeFile(dir / "shut" / "label.bmp", old);
    fs::permissions(dir / "shut", fs::perms::owner_read | fs::perms::owner_exec);
    const bool writeBitsCount = !writeBitsAreIgnored(dir / "shut");
    fs::create_directory(dir / "folder.bmp");
    writeFile(dir / "folder.bmp" / "inside", old);

    const struct {
        fs::path target;
        fs::path kept;   // a file whose bytes must survive, or empty
        bool needsWriteBits;
        const char* comment;
    } cases[] = {
        {dir / "locked.jpg", dir / "locked.jpg", true, "a read-only file is not replaced"},
        {dir / "shut" / "label.bmp", dir / "shut" / "label.bmp", true, "a write-protected folder"},
        {dir / "folder.bmp", dir / "folder.bmp" / "inside", false, "a folder of that name"},
        {dir / "missing" / "label.jpg", {}, false, "a folder that does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comment);
        if (c.needsWriteBits && !writeBitsCount) continue;
        const fs::path folder = c.target.parent_path();
        const std::set<std::string> before = entries(dir.path());
        const std::set<std::string> beforeInFolder = fs::exists(folder) ? entries(folder) : std::set<std::string>{};
        desktop.errors.clear();
        const QImage picture = form.Picture();
        save(form, c.target);

        EXPECT_EQ(desktop.errors, std::vector<std::string>{"Cannot create file " + c.target.string()});
        EXPECT_TRUE(desktop.messages.empty());
        EXPECT_EQ(form.Picture(), picture) << "the window stays as it was";
        if (!c.kept.empty()) {
            EXPECT_TRUE(readFile(c.kept) == old) << "the old file changed";
        }
        EXPECT_EQ(entries(dir.path()), before) << "nothing left behind";
        if (fs::exists(folder)) {
            EXPECT_EQ(entries(folder), beforeInFolder) << "nothing left behind";
        }
    }
    EXPECT_FALSE(fs::exists(dir / "missing"));

    // A writable old file is replaced by a whole new picture.
    writeFile(dir / "old.jpg", old);
    save(form, dir / "old.jpg");
    EXPECT_EQ(desktop.errors.size(), 1u) << "no new error";
    EXPECT_EQ(QImage(q(dir / "old.jpg")).size(), form.Picture().size());
}

// --- Copy --------------------------------------------------------------------

TEST_F(OutputTest, CopyPreviewsFirstAndPutsTheNewPictureOnTheClipboard) {
    TBarCodeForm form(desktop);
    form.setValueText("87654321");   // not previewed yet
    form.copyButton->click();

    ASSERT_EQ(desktop.clipboardImages.size(), 1u);
    EXPECT_EQ(desktop.clipboardImages[0], form.Picture());
    EXPECT_EQ(zbarReads(desktop.clipboardImages[0]), std::optional<std::string>("87654321"));
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.errors.empty());
}

TEST_F(OutputTest, CopyAfterARejectedValueCopiesThePreviousPicture) {
    TBarCodeForm form(desktop);
    show(form, Ean13Row, "400638133393");
    const QImage previous = form.Picture();
    form.setValueText("12A4");
    form.copyButtonClick();

    EXPECT_EQ(desktop.messages, std::vector<std::string>{NumericMessage});
    EXPECT_TRUE(form.value->text().isEmpty());
    ASSERT_EQ(desktop.clipboardImages.size(), 1u);
    EXPECT_EQ(desktop.clipboardImages[0], previous);
    // 400638133393 with its GS1 check digit 1.
    EXPECT_EQ(zbarReads(desktop.clipboardImages[0]), std::optional<std::string>("4006381333931"));
}

TEST_F(OutputTest, ABusyClipboardIsReportedAndGetsNothing) {
    TBarCodeForm form(desktop);
    desktop.clipboardAvailable = false;
    form.copyButtonClick();
    EXPECT_EQ(desktop.errors, std::vector<std::string>{"Cannot open clipboard"});
    EXPECT_TRUE(desktop.clipboardImages.empty());
    EXPECT_FALSE(form.Picture().isNull()) << "the picture is still there";
}

// --- No picture yet ------------------------------------------------------------

// A start whose stored value the stored symbology refuses composes no
// picture; Save, Print and Copy then say so instead of handing on nothing.
TEST_F(OutputTest, WithoutAPictureSaveCopyAndPrintExplainAndDoNothing) {
    writeFile(dir / SettingsFile, formtest::recordBytes(Ean13Row, 20, "12AB", true));
    TBarCodeForm form(desktop);
    ASSERT_TRUE(form.Picture().isNull());
    ASSERT_EQ(desktop.messages, std::vector<std::string>{NumericMessage});
    const std::set<std::string> before = entries(dir.path());

    desktop.messages.clear();
    desktop.saveAnswers = {(dir / "label.jpg").string()};
    form.saveButtonClick();
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"There is no picture to save yet. Press Preview first."});
    EXPECT_TRUE(desktop.saveRequests.empty()) << "no name is asked for";

    desktop.messages.clear();
    form.printButtonClick();
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"There is no picture to print yet. Press Preview first."});
    EXPECT_TRUE(desktop.modalWindows.empty());

    desktop.messages.clear();
    form.setValueText("12AB");
    form.copyButtonClick();
    EXPECT_EQ(desktop.messages,
              (std::vector<std::string>{NumericMessage,
                                        "There is no picture to copy yet. Correct the value and try again."}));
    EXPECT_TRUE(desktop.clipboardImages.empty());
    EXPECT_TRUE(desktop.errors.empty());
    EXPECT_EQ(entries(dir.path()), before);

    // A corrected value makes a picture, and Copy hands it on.
    desktop.messages.clear();
    form.setValueText("400638133393");
    form.copyButtonClick();
    EXPECT_TRUE(desktop.messages.empty());
    ASSERT_EQ(desktop.clipboardImages.size(), 1u);
    EXPECT_EQ(zbarReads(desktop.clipboardImages[0]), std::optional<std::string>("4006381333931"));
}

// --- Print -------------------------------------------------------------------

// Print opens the preview window, which prints on "Print to PDF"; the PDF is
// read back by poppler.  At 254 dots per inch a millimetre is 10 pixels and
// a picture pixel (1/96 inch) is 254/96 pixels.
TEST_F(OutputTest, PrintedPageCarriesThePicture100MillimetresFromTheCorner) {
    TBarCodeForm form(desktop);
    const QImage picture = form.Picture();
    ASSERT_FALSE(picture.isNull());
    // Code 128 starts with a bar two modules wide and stops with a bar, so
    // the bars' ink spans the picture's width, and its first two columns
    // are bar from the top down to the bars' height, with no text below.
    ASSERT_EQ(printtest::darkBox(picture, QRect(0, 0, picture.width(), BarsHeight)),
              QRect(0, 0, picture.width(), BarsHeight));
    ASSERT_EQ(printtest::darkBox(picture, QRect(0, 0, 2, picture.height())), QRect(0, 0, 2, BarsHeight));

    const fs::path pdf = dir / "page.pdf";
    desktop.saveAnswers = {pdf.string()};
    QPointer<QDialog> shown;
    bool ownedByTheMainWindow = false;
    int items = -1;
    desktop.whileModal = [&](QDialog& window) {
        auto& preview = dynamic_cast<TPrintPreviewForm&>(window);
        shown = &window;
        ownedByTheMainWindow = window.parent() == &form;
        items = int(preview.GmPreview1->Document().Page(1).items.size());
        window.show();
        preview.printer->setCurrentIndex(preview.printer->findText(TGmPrinter::PdfPrinterName()));
        preview.printButton->click();
    };
    form.printButton->click();

    EXPECT_EQ(desktop.modalWindows, std::vector<QString>{"PrintPreviewForm"});
    EXPECT_TRUE(ownedByTheMainWindow);
    EXPECT_EQ(items, 1) << "one picture on the one page";
    EXPECT_TRUE(shown.isNull()) << "the preview window is destroyed when it closes";
    ASSERT_TRUE(desktop.errors.empty()) << desktop.errors.front();
    EXPECT_EQ(form.Picture(), picture);

    const QString file = q(pdf);
    ASSERT_EQ(printtest::pdfPageCount(file), 1);
    const QString text = printtest::pdfPageText(file, 1);
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Page 1 of\\s+1\\b")))) << text.toStdString();

    const QImage page = printtest::pdfPageImage(file, 1, 254);
    ASSERT_FALSE(page.isNull());
    // Width from the top bar row, height from the first bar's columns;
    // the footer lies below row 2500 (250 mm).
    const QRect topRow = printtest::darkBox(page, QRect(0, 0, page.width(), 1010));
    EXPECT_NEAR(topRow.left(), 1000, 1);
    EXPECT_NEAR(topRow.top(), 1000, 1);
    EXPECT_NEAR(topRow.right() + 1, 1000 + picture.width() * 254.0 / 96.0, 1) << "natural width";
    const QRect firstBar = printtest::darkBox(page, QRect(0, 0, 1000 + 2 * 254 / 96, 2500));
    EXPECT_NEAR(firstBar.left(), 1000, 1);
    EXPECT_NEAR(firstBar.top(), 1000, 1);
    EXPECT_NEAR(firstBar.bottom() + 1, 1000 + BarsHeight * 254.0 / 96.0, 1) << "natural height";
}

}  // namespace
