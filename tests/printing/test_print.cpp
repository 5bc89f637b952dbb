// Printing: page ranges, the printer list, and the printed page read back from
// a real PDF with poppler-utils.

#include "GmPreview.h"
#include "GmPrinter.h"
#include "PrintTestSupport.h"

#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using printtest::pdfPageCount;
using printtest::pdfPageText;

// A preview set up as the print preview window sets it up: 5 mm margins.
void useFiveMillimetreMargins(TGmPreview& preview)
{
    TGmMargins& margins = preview.GetMargins();
    for (TGmValue* value : {&margins.Left, &margins.Top, &margins.Right, &margins.Bottom})
        value->SetAsMillimeters(5.0);
}

// Makes the shared printer "Print to PDF" writing to `path` for the test's
// length, and puts the previous choice back afterwards.
class PdfPrinterScope {
public:
    explicit PdfPrinterScope(std::optional<QString> path)
        : printer(TGmPrinter::Shared()), previousIndex(printer.PrinterIndex())
    {
        printer.SetPrinterIndex(static_cast<int>(printer.Printers().size()) - 1);
        printer.SetPdfPathProvider([path, this] {
            ++asked;
            return path;
        });
    }
    ~PdfPrinterScope()
    {
        printer.SetPdfPathProvider({});
        printer.SetPrinterIndex(previousIndex);
    }
    int asked = 0;

private:
    TGmPrinter& printer;
    int previousIndex;
};

TEST(GmPagesInRange, KeepsThePagesThatExistInEitherOrder)
{
    const struct {
        int from, to, pages;
        int first, last;   // first > last: nothing to print
        const char* comment;
    } cases[] = {
        {1, 3, 3, 1, 3, "the whole document"},
        {2, 2, 3, 2, 2, "one page"},
        {3, 1, 3, 1, 3, "reversed: the same pages, ascending"},
        {0, 2, 3, 1, 2, "page 0 does not exist"},
        {-5, 1, 3, 1, 1, "negative start"},
        {2, 9, 3, 2, 3, "beyond the last page"},
        {4, 9, 3, 4, 3, "entirely beyond: nothing"},
        {-9, 0, 3, 1, 0, "entirely before: nothing"},
        {0, 0, 1, 1, 0, "zero to zero: nothing"},
        {INT_MIN, INT_MAX, 3, 1, 3, "every int: every page"},
        {INT_MAX, INT_MIN, 3, 1, 3, "every int reversed"},
        {INT_MAX, INT_MAX, 3, 4, 3, "largest int only: nothing"},
        {INT_MIN, INT_MIN, 3, 1, 0, "smallest int only: nothing"},
    };
    for (const auto& c : cases) {
        const auto [first, last] = GmPagesInRange(c.from, c.to, c.pages);
        if (c.first > c.last)
            EXPECT_GT(first, last) << c.comment;
        else
            EXPECT_EQ(std::make_pair(first, last), std::make_pair(c.first, c.last)) << c.comment;
    }
}

// Prints a three-page document through the preview's PrintRange on "Print to
// PDF" and reads back which pages the PDF holds: each page's footer names it,
// and the footer is all the text there is.
TEST(GmPreviewPrintRange, PrintsExactlyThePagesThatExistInTheRange)
{
    const struct {
        int from, to;
        std::vector<int> pages;   // in the order they must appear
        const char* comment;
    } cases[] = {
        {1, 3, {1, 2, 3}, "the whole document"},
        {2, 2, {2}, "one page"},
        {3, 1, {1, 2, 3}, "reversed"},
        {0, 2, {1, 2}, "from page 0"},
        {-3, 1, {1}, "from a negative page"},
        {2, 99, {2, 3}, "to beyond the last page"},
        {INT_MIN, INT_MAX, {1, 2, 3}, "every int"},
        {4, 5, {}, "entirely beyond the last page"},
        {0, 0, {}, "page 0 only"},
        {INT_MAX, INT_MAX, {}, "largest int only"},
        {INT_MIN, -1, {}, "negative pages only"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const QString pdf = dir.filePath(QStringLiteral("range%1.pdf").arg(i));
        PdfPrinterScope scope(pdf);
        TGmPreview preview;
        useFiveMillimetreMargins(preview);
        preview.NewPage();
        preview.NewPage();

        const int printed = preview.PrintRange(c.from, c.to);
        EXPECT_EQ(printed, static_cast<int>(c.pages.size())) << "case " << i << ": " << c.comment;
        if (c.pages.empty()) {
            EXPECT_FALSE(QFile::exists(pdf)) << "case " << i << ": " << c.comment;
            EXPECT_EQ(scope.asked, 0) << "nothing to print asks for no file; case " << i;
            continue;
        }
        ASSERT_EQ(pdfPageCount(pdf), static_cast<int>(c.pages.size())) << "case " << i << ": " << c.comment;
        for (std::size_t k = 0; k < c.pages.size(); ++k)
            EXPECT_EQ(pdfPageText(pdf, static_cast<int>(k) + 1).simplified(),
                      QStringLiteral("Page %1 of 3").arg(c.pages[k]))
                << "case " << i << ", sheet " << k + 1 << ": " << c.comment;
    }
}

// The printed page read from the PDF: the footer's text, and the picture's
// corner 100 mm from the paper's left and top edges at its natural size.
// At 254 dots per inch one millimetre is exactly 10 pixels.
TEST(GmPreviewPrintRange, PrintedPageCarriesThePictureAndTheFooter)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("label.pdf"));
    PdfPrinterScope scope(pdf);
    TGmPreview preview;
    useFiveMillimetreMargins(preview);
    QImage picture(300, 120, QImage::Format_RGB32);
    picture.fill(Qt::black);
    preview.GetCanvas()->Draw(100, 100, picture, 1.0, gmMillimeters);

    ASSERT_EQ(preview.PrintRange(1, 1), 1);
    EXPECT_EQ(scope.asked, 1);
    ASSERT_EQ(pdfPageCount(pdf), 1);
    // pdftotext writes one blank for any gap; the width of the gaps is
    // checked with the footer below.
    EXPECT_EQ(pdfPageText(pdf, 1).simplified(), QStringLiteral("Page 1 of 1"));

    const QImage page = printtest::pdfPageImage(pdf, 1, 254);
    ASSERT_FALSE(page.isNull());
    // A4 paper, the printer's default here.
    EXPECT_NEAR(page.width(), 2100, 1);
    EXPECT_NEAR(page.height(), 2970, 1);
    // Above the footer, the picture is the only dark thing.
    const QRect box = printtest::darkBox(page, QRect(0, 0, page.width(), 2500));
    ASSERT_FALSE(box.isNull());
    // Each edge within a pixel of where it belongs; the right and bottom
    // edges are where the dark pixels end.
    EXPECT_NEAR(box.left(), 1000, 1);                 // 100 mm
    EXPECT_NEAR(box.top(), 1000, 1);                  // 100 mm
    EXPECT_NEAR(box.right() + 1, 1000 + 793.75, 1);   // 300 px * 25.4 / 96 = 79.375 mm
    EXPECT_NEAR(box.bottom() + 1, 1000 + 317.5, 1);   // 120 px = 31.75 mm
    EXPECT_EQ(printtest::darkBox(page, QRect(0, 2500, page.width(), 470)).isNull(), false) << "no footer drawn";
}

// The footer's words as pdftotext places them: centred between the 5 mm side
// margins of A4 (105 mm from the left), resting on the 5 mm bottom margin,
// one blank after "Page" and two after "of".  Arial's blank is 0.278 em
// (its metrics, shared by Liberation Sans), so 2.78 pt at 10 pt.
TEST(GmPreviewPrintRange, FooterIsCentredOnTheBottomMarginWithTwoBlanksBeforeTheCount)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("footer.pdf"));
    PdfPrinterScope scope(pdf);
    TGmPreview preview;
    useFiveMillimetreMargins(preview);
    for (int i = 0; i < 11; ++i)
        preview.NewPage();
    ASSERT_EQ(preview.PrintRange(7, 7), 1);

    const auto words = printtest::pdfPageWords(pdf, 1);
    ASSERT_EQ(words.size(), 4u);
    const QStringList texts{words[0].text, words[1].text, words[2].text, words[3].text};
    EXPECT_EQ(texts, (QStringList{"Page", "7", "of", "12"}));
    constexpr double pointsPerMm = 72.0 / 25.4;
    const double blank = 10.0 * 0.278;
    EXPECT_NEAR(words[1].xMin - words[0].xMax, blank, 0.3);
    EXPECT_NEAR(words[3].xMin - words[2].xMax, 2 * blank, 0.3);
    EXPECT_NEAR((words[0].xMin + words[3].xMax) / 2, 105 * pointsPerMm, 1.0);
    EXPECT_LE(words[0].yMax, (297 - 5) * pointsPerMm + 0.1);
    EXPECT_GT(words[0].yMax, (297 - 5) * pointsPerMm - 3.0);
}

TEST(GmPrinter, ListsTheInstalledPrintersThenPrintToPdf)
{
    TGmPrinter printer;
    const QStringList installed = QPrinterInfo::availablePrinterNames();
    const QStringList names = printer.Printers();
    ASSERT_EQ(names.size(), installed.size() + 1);
    EXPECT_EQ(names.mid(0, installed.size()), installed);
    EXPECT_EQ(names.last(), QStringLiteral("Print to PDF"));

    // Without a choice the current printer is the system default, or the PDF
    // printer when nothing is installed.
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    if (installed.isEmpty()) {
        EXPECT_TRUE(printer.IsPdfPrinter());
    } else if (!systemDefault.isEmpty()) {
        EXPECT_EQ(printer.PrinterName(), systemDefault);
    }
}

TEST(GmPrinter, ChoosingAPrinterLastsAndBadIndexesAreRefused)
{
    TGmPrinter printer;
    const int pdfIndex = static_cast<int>(printer.Printers().size()) - 1;
    printer.SetJobSettings({false, QPrinter::DuplexNone, QPrinter::Color});
    printer.SetPrinterIndex(pdfIndex);
    EXPECT_EQ(printer.PrinterIndex(), pdfIndex);
    EXPECT_TRUE(printer.IsPdfPrinter());
    // A printer chosen afresh prints with its own settings.
    EXPECT_FALSE(printer.GetJobSettings().collate.has_value());

    for (int bad : {-1, pdfIndex + 1, INT_MIN, INT_MAX}) {
        EXPECT_THROW(printer.SetPrinterIndex(bad), EGmPrintError) << bad;
        EXPECT_EQ(printer.PrinterIndex(), pdfIndex) << bad;
    }
}

TEST(GmPrinter, PdfPrinterWithoutAPathPrintsNothing)
{
    TGmPrinter printer;
    printer.SetPrinterIndex(static_cast<int>(printer.Printers().size()) - 1);
    TGmDocument document;
    EXPECT_EQ(printer.Print(document, 1, 1), 0);   // no callback
    printer.SetPdfPathProvider([] { return std::nullopt; });
    EXPECT_EQ(printer.Print(document, 1, 1), 0);   // the user cancelled
}

TEST(GmPrinter, PdfFileIsReplacedOnlyWhenComplete)
{
    QTemporaryDir dir;
    TGmPrinter printer;
    printer.SetPrinterIndex(static_cast<int>(printer.Printers().size()) - 1);
    TGmDocument document;
    document.AddPage();

    // A folder that does not exist: a clear error and no file anywhere.
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/out.pdf"));
    printer.SetPdfPathProvider([missing] { return missing; });
    EXPECT_THROW(printer.Print(document, 1, 2), EGmPrintError);
    EXPECT_FALSE(QFile::exists(missing));

    // An older file of that name is replaced by the whole new document, and
    // no temporary file is left beside it.
    const QString target = dir.filePath(QStringLiteral("out.pdf"));
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older file");
    }
    printer.SetPdfPathProvider([target] { return target; });
    EXPECT_EQ(printer.Print(document, 1, 2), 2);
    EXPECT_EQ(pdfPageCount(target), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.pdf")});
    EXPECT_TRUE(QFileInfo(target).permissions() & QFileDevice::ReadOther);
}

} // namespace
