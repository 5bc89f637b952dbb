#include "PrintPreviewForm.h"

#include "Desktop.h"
#include "GmPrinter.h"
#include "StrToInt.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>

#include <exception>
#include <string>

namespace {

// The window's own texts, all in one place.
namespace text {
const QString caption = QStringLiteral("Print Form");
const QString first = QStringLiteral("&First");
const QString firstHint = QStringLiteral("最前一頁");
const QString previous = QStringLiteral("Pre&v");
const QString next = QStringLiteral("&Next");
const QString last = QStringLiteral("&Last");
const QString zoomIn = QStringLiteral("Zoon In");
const QString zoomOut = QStringLiteral("Zoon out");
const QString printerLabel = QStringLiteral("Printer:");
const QString fromLabel = QStringLiteral("Print Page From:");
const QString toLabel = QStringLiteral("To");
const QString print = QStringLiteral("&Print");
const QString close = QStringLiteral("&Close");
const QString designedTotal = QStringLiteral("Total 30 Page");
const QString designedPage = QStringLiteral("Page 1 ");
const QString totalPages = QStringLiteral("Total Page: ");
const QString page = QStringLiteral("Page: ");
const QString defaultPrinter = QStringLiteral("Default Printer");
const char* const pageNegative = "Page cannot be negative.";
const char* const pageExceeded = "Page exceeded.";
const char* const pdfDialogTitle = "Print to PDF";
const char* const pdfFilter = "PDF document (*.pdf)|*.pdf";
const char* const pdfExtension = ".pdf";
} // namespace text

constexpr char enterKey = 13;
constexpr int topBarHeight = 73;
constexpr int rightBlockWidth = 260;
constexpr int statusPanelWidths[2] = {150, 100};
constexpr double pageMarginMm = 5.0;

std::string toBytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

// A 24-pixel glyph drawn here, so the buttons need no image files.
enum class Glyph { zoomIn, zoomOut, print };

QIcon drawGlyph(Glyph glyph)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    if (glyph == Glyph::print) {
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(7, 3, 10, 7));     // paper going in
        painter.setBrush(QColor(150, 150, 150));
        painter.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(7, 15, 10, 6));    // the printed sheet
        return QIcon(pixmap);
    }
    painter.setBrush(QColor(220, 235, 255));
    painter.drawEllipse(QRectF(3, 3, 13, 13));
    painter.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(15, 15), QPointF(21, 21));
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    painter.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
    if (glyph == Glyph::zoomIn)
        painter.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
    return QIcon(pixmap);
}

} // namespace

TPrintPreviewForm::TPrintPreviewForm(Desktop& desktop, QWidget* owner)
    : TLForm(owner, QStringLiteral("PrintPreviewForm")), desktop(desktop)
{
    createControls();
    arrangeControls();
    connectHandlers();
    LoadCaptions();

    GmPreview1->Clear();
    TGmMargins& margins = GmPreview1->GetMargins();
    for (TGmValue* margin : {&margins.Left, &margins.Top, &margins.Right, &margins.Bottom})
        margin->SetAsMillimeters(pageMarginMm);

    TGmPrinter& gmPrinter = *GmPreview1->GetGmPrinter();
    printer->addItems(gmPrinter.Printers());
    printer->insertItem(0, text::defaultPrinter);
    printer->setCurrentIndex(gmPrinter.PrinterIndex() + 1);
    gmPrinter.SetJobSettings({false, QPrinter::DuplexNone, QPrinter::Color});

    // The PDF printer asks where to write through this window's desktop.
    Desktop* asker = &desktop;
    gmPrinter.SetPdfPathProvider([asker]() -> std::optional<QString> {
        const auto path = asker->chooseSaveFile({text::pdfDialogTitle, text::pdfFilter, text::pdfExtension});
        if (!path)
            return std::nullopt;
        return QString::fromLatin1(path->data(), static_cast<qsizetype>(path->size()));
    });
}

TPrintPreviewForm::~TPrintPreviewForm()
{
    // The printer outlives the window; it must not call a desktop that may
    // be gone.
    GmPreview1->GetGmPrinter()->SetPdfPathProvider({});
}

void TPrintPreviewForm::createControls()
{
    setWindowTitle(text::caption);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(12);
    setFont(font);
    setWindowState(Qt::WindowMaximized);
    setSizeGripEnabled(false);

    Panel3 = addComponent<QFrame>("Panel3", this);
    Label11 = addComponent<QLabel>("Label11", text::printerLabel, Panel3);
    printer = addComponent<QComboBox>("printer", Panel3);
    Label1 = addComponent<QLabel>("Label1", text::fromLabel, Panel3);
    fromPage = addComponent<QLineEdit>("fromPage", QStringLiteral("1"), Panel3);
    Label2 = addComponent<QLabel>("Label2", text::toLabel, Panel3);
    toPage = addComponent<QLineEdit>("toPage", QStringLiteral("1"), Panel3);
    zoomOut = addComponent<QPushButton>("zoomOut", drawGlyph(Glyph::zoomOut), text::zoomOut, Panel3);
    zoomIn = addComponent<QPushButton>("zoomIn", drawGlyph(Glyph::zoomIn), text::zoomIn, Panel3);
    uFirst = addComponent<QPushButton>("uFirst", style()->standardIcon(QStyle::SP_MediaSkipBackward), text::first,
                                       Panel3);
    uPrevious = addComponent<QPushButton>("uPrevious", style()->standardIcon(QStyle::SP_MediaSeekBackward),
                                          text::previous, Panel3);
    uNext = addComponent<QPushButton>("uNext", style()->standardIcon(QStyle::SP_MediaSeekForward), text::next,
                                      Panel3);
    uLast = addComponent<QPushButton>("uLast", style()->standardIcon(QStyle::SP_MediaSkipForward), text::last,
                                      Panel3);
    Panel1 = addComponent<QFrame>("Panel1", Panel3);
    Button1 = addComponent<QPushButton>("Button1", style()->standardIcon(QStyle::SP_DialogCloseButton), text::close,
                                        Panel1);
    printButton = addComponent<QPushButton>("printButton", drawGlyph(Glyph::print), text::print, Panel1);
    StatusBar1 = addComponent<QStatusBar>("StatusBar1", this);
    GmPreview1 = addComponent<TGmPreview>("GmPreview1", this);

    // The status bar's panels belong to it, not to the window, so the
    // language file never holds their texts.
    const QString designed[2] = {text::designedTotal, text::designedPage};
    for (int i = 0; i < 2; ++i) {
        statusPanels[i] = new QLabel(designed[i], StatusBar1);
        statusPanels[i]->setFixedWidth(statusPanelWidths[i]);
        StatusBar1->addWidget(statusPanels[i]);
    }

    uFirst->setToolTip(text::firstHint);
    for (QPushButton* button : {uFirst, uPrevious, uNext, uLast})
        button->setEnabled(false);
    printer->setEditable(false);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    QFont large(QStringLiteral("Times New Roman"));
    large.setPointSize(14);
    for (QPushButton* button : {printButton, Button1}) {
        button->setFont(large);
        button->setIconSize(QSize(24, 24));
    }
    // No button is a dialog default: Enter must never close or print by
    // reaching the window.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void TPrintPreviewForm::arrangeControls()
{
    Panel3->setFixedHeight(topBarHeight);
    Panel3->setFrameShape(QFrame::StyledPanel);
    Panel1->setFixedWidth(rightBlockWidth);
    Panel1->setFrameShape(QFrame::NoFrame);

    auto* buttonsRow = new QHBoxLayout;
    for (QWidget* widget : {uFirst, uPrevious, uNext, uLast, zoomIn, zoomOut})
        buttonsRow->addWidget(widget);
    buttonsRow->addStretch(1);

    auto* rangeRow = new QHBoxLayout;
    printer->setMinimumWidth(200);
    fromPage->setFixedWidth(60);
    toPage->setFixedWidth(60);
    for (QWidget* widget : {static_cast<QWidget*>(Label11), static_cast<QWidget*>(printer),
                            static_cast<QWidget*>(Label1), static_cast<QWidget*>(fromPage),
                            static_cast<QWidget*>(Label2), static_cast<QWidget*>(toPage)})
        rangeRow->addWidget(widget);
    rangeRow->addStretch(1);

    auto* rows = new QVBoxLayout;
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    rows->addLayout(buttonsRow);
    rows->addLayout(rangeRow);

    // Print and Close, each as high as both rows.
    auto* rightBlock = new QHBoxLayout(Panel1);
    rightBlock->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* button : {printButton, Button1}) {
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        rightBlock->addWidget(button);
    }

    auto* bar = new QHBoxLayout(Panel3);
    bar->setContentsMargins(4, 4, 4, 4);
    bar->addLayout(rows, 1);
    bar->addWidget(Panel1);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addWidget(Panel3);
    window->addWidget(GmPreview1, 1);
    window->addWidget(StatusBar1);

    // From box first, so it holds the focus when the window opens.
    const QWidget* order[] = {fromPage, toPage, uFirst, uPrevious, uNext, uLast,
                              zoomIn,   zoomOut, printer, Button1, printButton};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    fromPage->setFocus();
}

void TPrintPreviewForm::connectHandlers()
{
    connect(uFirst, &QPushButton::clicked, this, &TPrintPreviewForm::uFirstClick);
    connect(uPrevious, &QPushButton::clicked, this, &TPrintPreviewForm::uPreviousClick);
    connect(uNext, &QPushButton::clicked, this, &TPrintPreviewForm::uNextClick);
    connect(uLast, &QPushButton::clicked, this, &TPrintPreviewForm::uLastClick);
    connect(zoomIn, &QPushButton::clicked, this, &TPrintPreviewForm::zoomInClick);
    connect(zoomOut, &QPushButton::clicked, this, &TPrintPreviewForm::zoomOutClick);
    connect(printButton, &QPushButton::clicked, this, &TPrintPreviewForm::printButtonClick);
    connect(Button1, &QPushButton::clicked, this, &TPrintPreviewForm::reject);
    fromPage->installEventFilter(this);
}

QString TPrintPreviewForm::statusPanelText(int panel) const
{
    return panel >= 0 && panel < 2 ? statusPanels[panel]->text() : QString();
}

void TPrintPreviewForm::setStatusPanel(int panel, const QString& value)
{
    statusPanels[panel]->setText(value);
}

void TPrintPreviewForm::showPageNumber()
{
    setStatusPanel(1, text::page + QString::number(GmPreview1->GetCurrentPageNum()));
}

void TPrintPreviewForm::reject()
{
    done(ModalResultCancel);
}

void TPrintPreviewForm::showEvent(QShowEvent* event)
{
    TLForm::showEvent(event);
    // Only when the program shows the window, not when the window system
    // restores it.
    if (!event->spontaneous())
        FormShow();
}

void TPrintPreviewForm::FormShow()
{
    const QString pages = QString::number(GmPreview1->GetNumPages());
    setStatusPanel(0, text::totalPages + pages);
    toPage->setText(pages);
    uFirstClick();
}

void TPrintPreviewForm::uFirstClick()
{
    GmPreview1->FirstPage();
    for (QPushButton* button : {uFirst, uPrevious, uNext, uLast})
        button->setEnabled(false);
    const bool notLast = GmPreview1->GetCurrentPageNum() != GmPreview1->GetNumPages();
    uNext->setEnabled(notLast);
    uLast->setEnabled(notLast);
    showPageNumber();
}

void TPrintPreviewForm::enableStepButtons()
{
    // After Prev or Next: back buttons unless on page 1, forward buttons
    // unless on the last page.
    const int current = GmPreview1->GetCurrentPageNum();
    uFirst->setEnabled(current != 1);
    uPrevious->setEnabled(current != 1);
    uNext->setEnabled(current != GmPreview1->GetNumPages());
    uLast->setEnabled(current != GmPreview1->GetNumPages());
}

void TPrintPreviewForm::uPreviousClick()
{
    GmPreview1->PrevPage();
    enableStepButtons();
    showPageNumber();
}

void TPrintPreviewForm::uNextClick()
{
    GmPreview1->NextPage();
    enableStepButtons();
    showPageNumber();
}

void TPrintPreviewForm::uLastClick()
{
    GmPreview1->LastPage();
    // On a one-page document First and Prev keep whatever state they had.
    if (GmPreview1->GetCurrentPageNum() != 1) {
        uFirst->setEnabled(true);
        uPrevious->setEnabled(true);
    }
    uNext->setEnabled(false);
    uLast->setEnabled(false);
    showPageNumber();
}

void TPrintPreviewForm::zoomInClick()
{
    GmPreview1->SetZoom(GmPreview1->GetZoom() + TGmPreview::ZoomIncrement);
}

void TPrintPreviewForm::zoomOutClick()
{
    if (GmPreview1->GetZoom() > TGmPreview::ZoomIncrement)
        GmPreview1->SetZoom(GmPreview1->GetZoom() - TGmPreview::ZoomIncrement);
}

bool TPrintPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != fromPage || event->type() != QEvent::KeyPress)
        return TLForm::eventFilter(watched, event);
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    char key = 0;
    if (keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter)
        key = enterKey;
    else if (keyEvent->text().size() == 1 && keyEvent->text().at(0).unicode() < 256)
        key = static_cast<char>(keyEvent->text().at(0).unicode());
    else
        return TLForm::eventFilter(watched, event);   // editing keys, arrows, other scripts
    fromPageKeyPress(key);
    return key == 0;   // a swallowed character never reaches the box
}

void TPrintPreviewForm::fromPageKeyPress(char& key)
{
    if (key != enterKey)
        return;
    key = 0;
    const auto page = strToInt(toBytes(fromPage->text()));
    if (!page)
        return;
    if (*page < 1) {
        desktop.showMessage(text::pageNegative);
    } else if (*page > GmPreview1->GetNumPages()) {
        desktop.showMessage(text::pageExceeded);
    } else {
        GmPreview1->SetCurrentPageNum(*page);
        showPageNumber();
    }
    fromPage->selectAll();
    fromPage->setFocus();
}

void TPrintPreviewForm::printButtonClick()
{
    try {
        TGmPrinter& gmPrinter = *GmPreview1->GetGmPrinter();
        const int selected = printer->currentIndex();
        if (selected > 0) {
            // The list was read when the window was built; find the entry's
            // printer by name in case printers came or went since.
            const QString name = printer->itemText(selected);
            const int at = static_cast<int>(gmPrinter.Printers().indexOf(name));
            if (at < 0)
                throw EGmPrintError("The printer " + toBytes(name) + " is not installed any more");
            gmPrinter.SetPrinterIndex(at);
        }
        const std::string toText = toBytes(toPage->text());
        const auto to = strToInt(toText);
        if (!to) {
            desktop.showError(invalidIntegerMessage(toText));
            return;
        }
        const std::string fromText = toBytes(fromPage->text());
        const auto from = strToInt(fromText);
        if (!from) {
            desktop.showError(invalidIntegerMessage(fromText));
            return;
        }
        GmPreview1->PrintRange(*from, *to);
    } catch (const std::exception& error) {
        desktop.showError(error.what());
    }
}
