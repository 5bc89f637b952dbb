// The print preview window, headless with a scripted desktop: its state when
// it opens, paging, zoom, Enter in the From box, the printer choice that
// outlives the window, the checks of the page range, printing to PDF through
// the Print button, and the captions it writes to the language file.

#include "PrintPreviewForm.h"
#include "PrintTestSupport.h"

#include "../support/FakeDesktop.h"
#include "../support/TempDir.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;

// The keys of one section of INI text, in file order, read without the
// library that wrote them: "[name]" starts a section, "key=value" is a key.
Keys iniSection(const std::string& text, const std::string& name)
{
    Keys keys;
    bool inside = false;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            inside = line == "[" + name + "]";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inside && eq != std::string::npos)
            keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return keys;
}

// Enabled states of First, Prev, Next and Last.
struct Buttons {
    bool first, previous, next, last;
    bool operator==(const Buttons&) const = default;
};

void PrintTo(const Buttons& b, std::ostream* os)
{
    *os << "First " << b.first << ", Prev " << b.previous << ", Next " << b.next << ", Last " << b.last;
}

// Every window of a test writes its captions into the test's own folder.
class PrintPreviewFormTest : public ::testing::Test {
protected:
    void SetUp() override { TLForm::setLanguageFilePath(folder / "HalvexBarcode.INI"); }
    void TearDown() override { TLForm::setLanguageFilePath({}); }

    // A window as the print command shows it: built, then shown.
    std::unique_ptr<TPrintPreviewForm> openWindow(int extraPages = 0)
    {
        auto window = std::make_unique<TPrintPreviewForm>(desktop);
        for (int i = 0; i < extraPages; ++i)
            window->GmPreview1->NewPage();
        window->show();
        return window;
    }

    static Buttons buttons(const TPrintPreviewForm& window)
    {
        return {window.uFirst->isEnabled(), window.uPrevious->isEnabled(), window.uNext->isEnabled(),
                window.uLast->isEnabled()};
    }

    // Presses a key in the From box as the keyboard would.
    static void press(TPrintPreviewForm& window, int key, const QString& text)
    {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(window.fromPage, &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(window.fromPage, &up);
    }
    static void pressEnter(TPrintPreviewForm& window) { press(window, Qt::Key_Return, QStringLiteral("\r")); }

    static int entryOf(const TPrintPreviewForm& window, const QString& name)
    {
        return window.printer->findText(name, Qt::MatchExactly);
    }

    TempDir folder;
    FakeDesktop desktop;
};

TEST_F(PrintPreviewFormTest, FreshWindowShowsOnePageAndTheCurrentPrinter)
{
    auto window = std::make_unique<TPrintPreviewForm>(desktop);
    // As designed, before the window is shown.
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("Total 30 Page"));
    EXPECT_EQ(window->statusPanelText(1), QStringLiteral("Page 1 "));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Print Form"));
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);

    window->show();
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("Total Page: 1"));
    EXPECT_EQ(window->statusPanelText(1), QStringLiteral("Page: 1"));
    EXPECT_EQ(window->fromPage->text(), QStringLiteral("1"));
    EXPECT_EQ(window->toPage->text(), QStringLiteral("1"));
    EXPECT_EQ(buttons(*window), (Buttons{false, false, false, false}));
    EXPECT_TRUE(window->zoomIn->isEnabled());
    EXPECT_TRUE(window->zoomOut->isEnabled());
    EXPECT_TRUE(window->printButton->isEnabled());
    EXPECT_TRUE(window->Button1->isEnabled());
    EXPECT_EQ(window->GmPreview1->GetZoom(), 100);
    EXPECT_EQ(window->uFirst->toolTip(), QStringLiteral("最前一頁"));

    // The document: one blank page on 5 mm margins.
    EXPECT_EQ(window->GmPreview1->GetNumPages(), 1);
    EXPECT_TRUE(window->GmPreview1->Document().Page(1).items.empty());
    const TGmMargins& margins = window->GmPreview1->GetMargins();
    for (const TGmValue* margin : {&margins.Left, &margins.Top, &margins.Right, &margins.Bottom})
        EXPECT_DOUBLE_EQ(margin->AsMillimeters(), 5.0);

    // "Default Printer", then the printers in the system's order; the
    // current printer is the one selected.
    const TGmPrinter& shared = TGmPrinter::Shared();
    QStringList entries;
    for (int i = 0; i < window->printer->count(); ++i)
        entries << window->printer->itemText(i);
    EXPECT_EQ(entries, QStringList{QStringLiteral("Default Printer")} + shared.Printers());
    EXPECT_EQ(window->printer->currentIndex(), shared.PrinterIndex() + 1);
    EXPECT_EQ(window->printer->currentText(), shared.PrinterName());
    EXPECT_FALSE(window->printer->isEditable());
    EXPECT_EQ(shared.GetJobSettings().collate, std::optional<bool>(false));
    EXPECT_EQ(shared.GetJobSettings().duplex, std::optional<QPrinter::DuplexMode>(QPrinter::DuplexNone));
    EXPECT_EQ(shared.GetJobSettings().color, std::optional<QPrinter::ColorMode>(QPrinter::Color));

    // The From box holds the focus; Tab walks the designed order.
    EXPECT_EQ(window->focusWidget(), window->fromPage);
    const std::vector<QWidget*> tabOrder = {window->fromPage, window->toPage, window->uFirst,  window->uPrevious,
                                            window->uNext,    window->uLast,  window->zoomIn,  window->zoomOut,
                                            window->printer,  window->Button1, window->printButton};
    QWidget* at = window->fromPage;
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        do
            at = at->nextInFocusChain();
        while (!(at->focusPolicy() & Qt::TabFocus) || at->isWindow() || !window->isAncestorOf(at) ||
               at->parentWidget() == window->GmPreview1->viewport() || at == window->GmPreview1);
        EXPECT_EQ(at, tabOrder[i]) << "tab stop " << i;
    }
}

TEST_F(PrintPreviewFormTest, EnterInTheFromBoxJumpsOrSaysWhyNot)
{
    const struct {
        const char* typed;
        std::vector<std::string> messages;
        bool selected;   // text selected and focus taken back
        const char* comment;
    } cases[] = {
        {"0", {"Page cannot be negative."}, true, "page numbers start at 1"},
        {"-3", {"Page cannot be negative."}, true, "a negative number"},
        {"2", {"Page exceeded."}, true, "one page only"},
        {"1", {}, true, "the page there is"},
        {"abc", {}, false, "not a number: nothing happens at all"},
        {"", {}, false, "empty: not a number either"},
    };
    for (const auto& c : cases) {
        desktop.messages.clear();
        auto window = openWindow();
        int returnPressed = 0;
        QObject::connect(window->fromPage, &QLineEdit::returnPressed, [&] { ++returnPressed; });
        window->fromPage->setText(QString::fromLatin1(c.typed));
        window->fromPage->deselect();
        window->toPage->setFocus();

        pressEnter(*window);
        EXPECT_EQ(desktop.messages, c.messages) << c.typed << ": " << c.comment;
        EXPECT_EQ(window->fromPage->text(), QString::fromLatin1(c.typed)) << "Enter never reaches the box";
        EXPECT_EQ(returnPressed, 0) << c.typed;
        EXPECT_TRUE(window->isVisible()) << "Enter pressed no button of the window: " << c.typed;
        EXPECT_EQ(window->GmPreview1->GetCurrentPageNum(), 1) << c.typed;
        EXPECT_EQ(window->statusPanelText(1), QStringLiteral("Page: 1")) << c.typed;
        EXPECT_EQ(window->fromPage->selectedText(), c.selected ? QString::fromLatin1(c.typed) : QString())
            << c.typed;
        EXPECT_EQ(window->focusWidget(), c.selected ? window->fromPage : window->toPage) << c.typed;
    }
}

TEST_F(PrintPreviewFormTest, TypingWithoutEnterChangesOnlyTheBox)
{
    auto window = openWindow(2);   // three pages, on page 1
    window->fromPage->setFocus();
    window->fromPage->end(false);
    const Buttons before = buttons(*window);
    press(*window, Qt::Key_2, QStringLiteral("2"));
    press(*window, Qt::Key_5, QStringLiteral("5"));
    EXPECT_EQ(window->fromPage->text(), QStringLiteral("125"));
    EXPECT_EQ(window->GmPreview1->GetCurrentPageNum(), 1);
    EXPECT_EQ(window->statusPanelText(1), QStringLiteral("Page: 1"));
    EXPECT_EQ(buttons(*window), before);
    EXPECT_TRUE(desktop.messages.empty());

    char key = '7';
    window->fromPageKeyPress(key);
    EXPECT_EQ(key, '7') << "other characters pass unchanged";
}

TEST_F(PrintPreviewFormTest, ThreePagesEnableTheButtonsThatLeadSomewhere)
{
    auto window = openWindow(2);
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("Total Page: 3"));
    EXPECT_EQ(window->toPage->text(), QStringLiteral("3"));
    EXPECT_EQ(window->fromPage->text(), QStringLiteral("1"));

    // Each row presses one button on the page the previous row left.
    const struct {
        QPushButton* TPrintPreviewForm::*button;
        int page;
        Buttons enabled;
        const char* comment;
    } steps[] = {
        {nullptr, 1, {false, false, true, true}, "shown: First has run"},
        {&TPrintPreviewForm::uNext, 2, {true, true, true, true}, "a middle page leads both ways"},
        {&TPrintPreviewForm::uNext, 3, {true, true, false, false}, "the last page"},
        {&TPrintPreviewForm::uPrevious, 2, {true, true, true, true}, "back to the middle"},
        {&TPrintPreviewForm::uFirst, 1, {false, false, true, true}, "the first page"},
        {&TPrintPreviewForm::uLast, 3, {true, true, false, false}, "Last from page 1"},
        {&TPrintPreviewForm::uFirst, 1, {false, false, true, true}, "First from page 3"},
    };
    for (const auto& step : steps) {
        if (step.button)
            (window.get()->*step.button)->click();
        EXPECT_EQ(window->GmPreview1->GetCurrentPageNum(), step.page) << step.comment;
        EXPECT_EQ(buttons(*window), step.enabled) << step.comment;
        EXPECT_EQ(window->statusPanelText(1), QStringLiteral("Page: %1").arg(step.page)) << step.comment;
    }

    // Enter elsewhere than in the From box presses no button of the window.
    window->uNext->click();
    for (QWidget* box : {static_cast<QWidget*>(window->toPage), static_cast<QWidget*>(window->printer)}) {
        box->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(box, &enter);
        EXPECT_EQ(window->GmPreview1->GetCurrentPageNum(), 2) << box->objectName().toStdString();
        EXPECT_TRUE(window->isVisible()) << box->objectName().toStdString();
    }

    // A page reached by Enter leaves the buttons as they were.
    window->uLast->click();
    window->fromPage->setText(QStringLiteral("2"));
    pressEnter(*window);
    EXPECT_EQ(window->GmPreview1->GetCurrentPageNum(), 2);
    EXPECT_EQ(window->statusPanelText(1), QStringLiteral("Page: 2"));
    EXPECT_EQ(buttons(*window), (Buttons{true, true, false, false}));
    window->fromPage->setText(QStringLiteral("4"));
    pressEnter(*window);
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"Page exceeded."});
    EXPECT_EQ(window->GmPreview1->GetCurrentPageNum(), 2);
}

TEST_F(PrintPreviewFormTest, LastOnOnePageLeavesFirstAndPrevAsTheyWere)
{
    auto window = openWindow();
    window->uFirst->setEnabled(true);   // whatever state they had
    window->uLastClick();
    EXPECT_EQ(buttons(*window), (Buttons{true, false, false, false}));
    EXPECT_EQ(window->statusPanelText(1), QStringLiteral("Page: 1"));
}

TEST_F(PrintPreviewFormTest, ZoomStepsByTenBetween10And400)
{
    auto window = openWindow();
    for (int i = 0; i < 30; ++i)
        window->zoomIn->click();
    EXPECT_EQ(window->GmPreview1->GetZoom(), 400);

    auto other = openWindow();
    EXPECT_EQ(other->GmPreview1->GetZoom(), 100) << "each window opens at 100";
    for (int i = 0; i < 9; ++i)
        other->zoomOut->click();
    EXPECT_EQ(other->GmPreview1->GetZoom(), 10);
    for (int i = 0; i < 3; ++i)
        other->zoomOut->click();
    EXPECT_EQ(other->GmPreview1->GetZoom(), 10) << "zoom out stops at the step";
    other->zoomIn->click();
    EXPECT_EQ(other->GmPreview1->GetZoom(), 20);
}

// The To box is emptied, so Print chooses the printer and then stops at the
// conversion: nothing reaches a real printer.
TEST_F(PrintPreviewFormTest, ChosenPrinterStaysCurrentForLaterWindows)
{
    TGmPrinter& shared = TGmPrinter::Shared();
    const int entries = static_cast<int>(shared.Printers().size()) + 1;
    for (int k = entries - 1; k >= 1; --k) {
        desktop.errors.clear();
        {
            auto window = openWindow();
            window->printer->setCurrentIndex(k);
            window->toPage->clear();
            window->printButton->click();
            EXPECT_EQ(desktop.errors, std::vector<std::string>{"'' is not a valid integer value"}) << k;
            EXPECT_EQ(shared.PrinterIndex(), k - 1) << "entry " << k;
        }
        auto next = openWindow();
        EXPECT_EQ(next->printer->currentIndex(), k) << "the next window preselects entry " << k;
    }
    EXPECT_TRUE(desktop.saveRequests.empty()) << "nothing was printed";

    // "Default Printer" leaves the current printer as it is: the last one
    // chosen, which is still preselected afterwards.
    const int current = shared.PrinterIndex();
    auto window = openWindow();
    window->printer->setCurrentIndex(0);
    window->toPage->clear();
    window->printButton->click();
    EXPECT_EQ(shared.PrinterIndex(), current);
    window.reset();
    EXPECT_EQ(openWindow()->printer->currentIndex(), current + 1);
}

TEST_F(PrintPreviewFormTest, BadPageNumbersStopPrintToBeforeFrom)
{
    const struct {
        const char* from;
        const char* to;
        const char* error;
        const char* comment;
    } cases[] = {
        {"1", "", "'' is not a valid integer value", "To box empty"},
        {"abc", "x1", "'x1' is not a valid integer value", "both bad: To is reported"},
        {"abc", "1", "'abc' is not a valid integer value", "From bad"},
        {"1", "99999999999", "'99999999999' is not a valid integer value", "beyond an integer"},
        {" 1 ", "1", "' 1 ' is not a valid integer value", "a trailing blank is not a digit"},
    };
    TGmPrinter& shared = TGmPrinter::Shared();
    for (const auto& c : cases) {
        desktop.errors.clear();
        desktop.saveRequests.clear();
        desktop.saveAnswers = {(folder / "never.pdf").string()};
        auto window = openWindow();
        window->printer->setCurrentIndex(window->printer->count() - 1);   // Print to PDF
        window->fromPage->setText(QString::fromLatin1(c.from));
        window->toPage->setText(QString::fromLatin1(c.to));
        window->printButton->click();
        EXPECT_EQ(desktop.errors, std::vector<std::string>{c.error}) << c.comment;
        EXPECT_TRUE(desktop.saveRequests.empty()) << c.comment;
        EXPECT_TRUE(shared.IsPdfPrinter()) << "the printer is chosen before the numbers are read: " << c.comment;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "never.pdf"));
}

// The whole path of the print command: the picture drawn 100 mm from the
// corner, Print on "Print to PDF", the file named through the desktop, and
// the PDF read back by poppler.  At 254 dots per inch a millimetre is 10
// pixels; 300 pixels at 96 per inch are 79.375 mm.
TEST_F(PrintPreviewFormTest, PrintToPdfWritesTheShownPage)
{
    const std::string pdf = (folder / "label.pdf").string();
    desktop.saveAnswers = {pdf};
    auto window = std::make_unique<TPrintPreviewForm>(desktop);
    QImage picture(300, 120, QImage::Format_RGB32);
    picture.fill(Qt::black);
    window->GmPreview1->GetCanvas()->Draw(100, 100, picture, 1.0, gmMillimeters);
    window->show();
    window->printer->setCurrentIndex(entryOf(*window, TGmPrinter::PdfPrinterName()));
    window->printButton->click();

    ASSERT_TRUE(desktop.errors.empty()) << desktop.errors.front();
    ASSERT_EQ(desktop.saveRequests.size(), 1u);
    EXPECT_EQ(desktop.saveRequests[0].filter, "PDF document (*.pdf)|*.pdf");
    EXPECT_EQ(desktop.saveRequests[0].defaultExtension, ".pdf");
    EXPECT_TRUE(window->isVisible()) << "the window stays open after printing";

    const QString file = QString::fromStdString(pdf);
    ASSERT_EQ(printtest::pdfPageCount(file), 1);
    EXPECT_EQ(printtest::pdfPageText(file, 1).simplified(), QStringLiteral("Page 1 of 1"));
    const QImage page = printtest::pdfPageImage(file, 1, 254);
    ASSERT_FALSE(page.isNull());
    const QRect box = printtest::darkBox(page, QRect(0, 0, page.width(), 2500));
    EXPECT_NEAR(box.left(), 1000, 1);
    EXPECT_NEAR(box.top(), 1000, 1);
    EXPECT_NEAR(box.right() + 1, 1000 + 793.75, 1);
    EXPECT_NEAR(box.bottom() + 1, 1000 + 317.5, 1);

    // A cancelled file dialog prints nothing and says nothing.
    std::filesystem::remove(pdf);
    window->printButton->click();
    EXPECT_EQ(desktop.saveRequests.size(), 2u);
    EXPECT_TRUE(desktop.errors.empty());
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintPreviewFormTest, ClosedWindowLeavesThePrinterNoDesktopToCall)
{
    {
        auto window = openWindow();
        window->printer->setCurrentIndex(entryOf(*window, TGmPrinter::PdfPrinterName()));
        window->toPage->clear();
        window->printButton->click();   // chooses the PDF printer only
    }
    TGmDocument document;
    desktop.saveAnswers = {(folder / "late.pdf").string()};
    EXPECT_EQ(TGmPrinter::Shared().Print(document, 1, 1), 0);
    EXPECT_TRUE(desktop.saveRequests.empty());
}

TEST_F(PrintPreviewFormTest, CloseAndTheCloseBoxEndWithCancel)
{
    auto window = openWindow();
    window->Button1->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), 2);

    auto other = openWindow();
    other->close();
    EXPECT_FALSE(other->isVisible());
    EXPECT_EQ(other->result(), 2);
}

TEST_F(PrintPreviewFormTest, FirstRunWritesTheTwelveCaptionsInDesignOrder)
{
    openWindow().reset();
    const Keys expected = {
        {"Caption", "Print Form"}, {"Label11", "Printer:"}, {"Label1", "Print Page From:"},
        {"Label2", "To"},          {"zoomOut", "Zoon out"}, {"zoomIn", "Zoon In"},
        {"uFirst", "&First"},      {"uPrevious", "Pre&v"},  {"uNext", "&Next"},
        {"uLast", "&Last"},        {"Button1", "&Close"},   {"printButton", "&Print"},
    };
    const std::string written = readFile(folder / "HalvexBarcode.INI");
    EXPECT_EQ(iniSection(written, "PrintPreviewForm"), expected) << written;

    // A translation takes effect in the next window; a key for an edit box
    // does not.
    writeFile(folder / "HalvexBarcode.INI",
              "[PrintPreviewForm]\nCaption=Druckvorschau\nuFirst=&Erste\nfromPage=9\nprintButton=\n");
    auto window = openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Druckvorschau"));
    EXPECT_EQ(window->uFirst->text(), QStringLiteral("&Erste"));
    EXPECT_EQ(window->printButton->text(), QString());
    EXPECT_EQ(window->fromPage->text(), QStringLiteral("1"));
}

} // namespace
