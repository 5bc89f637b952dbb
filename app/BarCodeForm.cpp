#include "BarCodeForm.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>
#include <cmath>

#include "AboutForm.h"
#include "BarcodeTypes.h"
#include "Composition.h"
#include "FontMapping.h"

namespace {

// The main window's own texts.
constexpr const char* FormCaption = "Halvex Rarovuv Uvizo";
constexpr const char* AboutCaption = "About";
constexpr const char* HelpPage = "HalvexRarovuvUvizo.htm";
constexpr const char* NumericMessageStart = "The 'Barcode Value' must be numeric for ";
constexpr const char* NumericMessageEnd = " format.";

// Millimetres to pixels of the bar height; the product is truncated.
constexpr double PixelsPerMillimetre = 2.83;
// Heights the preview accepts: the spinner's least, and the tallest bars a
// picture can hold.
constexpr int MinHeightMM = 1;
constexpr int MaxHeightMM = static_cast<int>(kMaxPictureSide / PixelsPerMillimetre);

std::string heightRangeMessage() {
    return "The 'Barcode Height' must be a whole number of millimetres from " + std::to_string(MinHeightMM) +
           " to " + std::to_string(MaxHeightMM) + ".";
}

// A font's size in points as the pixel count the picture reserves for it,
// in a range where no sum of a few of them can overflow.
long long pointPixels(const TFont& font) {
    const double points = -static_cast<double>(font.Height) * 72.0 / ScreenPixelsPerInch;
    return std::llround(std::clamp(points, -1e9, 1e9));
}

std::string toBytes(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QString fromBytes(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

template <typename Widget>
Widget* placed(Widget* widget, int left, int top, int width, int height, const QFont& font) {
    widget->setGeometry(left, top, width, height);
    widget->setFont(font);
    return widget;
}

QIcon buttonIcon(const QStyle* style, const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(themeName), style->standardIcon(fallback));
}

}  // namespace

TBarCodeForm::TBarCodeForm(Desktop& desktop, QWidget* owner)
    : TLForm(owner, QStringLiteral("BarCodeForm")),
      SaveDialog1{"", "JPeg Image (*.jpg)|*.jpg|Bitmap (*.bmp)|*.bmp", ".jpg"},
      desktop_(desktop),
      settings_(SettingsFileName),
      fonts_{designTextFont(), designTextFont(), designTextFont()} {
    // The barcode component as designed; Top, Left and Angle are replaced
    // below, the rest of what the preview uses at every preview.
    barcode.SetModul(1);
    barcode.SetRatio(2.0);
    barcode.SetTyp(bcCodeEAN13);
    barcode.SetShowText(bcoBoth);
    barcode.SetShowTextFont(TFont{.Name = "MS Sans Serif", .Height = -11});
    barcode.SetShowTextPosition(stpBottomCenter);
    barcode.SetHeight(0);
    barcode.SetTop(160);
    barcode.SetLeft(16);

    buildControls();
    for (const ScanText& text : ScanTexts) addText(text.key, text.text);
    LoadCaptions();

    if (!settings_.LoadSettings(*this)) {
        barcode.SetShowText(bcoCode);
        type->setCurrentIndex(0);
    }
    barcode.SetTop(0);
    barcode.SetLeft(0);
    barcode.SetAngle(0.0);
    // After the language file, so that this button always reads "About".
    aboutButton->setText(QString::fromLatin1(AboutCaption));

    previewButtonClick();
}

TBarCodeForm::~TBarCodeForm() = default;

void TBarCodeForm::buildControls() {
    setWindowTitle(QString::fromLatin1(FormCaption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // An 800 x 391 frame around this client area; fixed pixels throughout.
    setFixedSize(784, 352);
    QWidget::setFont(designFont("MS Sans Serif", 11));

    const QFont gothic = designFont("Century Gothic", 16);
    const QFont sans = designFont("MS Sans Serif", 16);
    const QFont times = designFont("Times New Roman", 16);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;

    auto label = [&](const char* name, const char* text, int left, int top, int width, int height,
                     const QFont& font, Qt::Alignment alignment) {
        QLabel* l = placed(addComponent<QLabel>(name, QString::fromLatin1(text), this), left, top, width, height,
                           font);
        l->setAlignment(alignment);
        return l;
    };
    auto button = [&](const char* name, const char* text, int left, int top, int width, int height,
                      const QFont& font, QIcon icon) {
        QPushButton* b = placed(addComponent<QPushButton>(name, QString::fromLatin1(text), this), left, top,
                                width, height, font);
        b->setIcon(icon);
        b->setIconSize(QSize(16, 16));
        // Enter presses the focused button only (see keyPressEvent).
        b->setAutoDefault(false);
        return b;
    };
    auto edit = [&](const char* name, const char* text, int left, int top, int width, int height,
                    const QFont& font) {
        return placed(addComponent<QLineEdit>(name, QString::fromLatin1(text), this), left, top, width, height,
                      font);
    };
    const QStyle* s = style();

    Label28 = label("Label28", "Barcode Type:", 15, 53, 120, 21, gothic, right);
    type = placed(addComponent<QComboBox>("type", this), 138, 53, 295, 29, gothic);
    for (const BarcodeTypeRow& row : BarcodeTypeOfIndex) {
        type->addItem(QString::fromLatin1(row.ItemText));
        type->setItemData(type->count() - 1, QSize(0, 21), Qt::SizeHintRole);
    }
    type->setCurrentIndex(-1);
    Label9 = label("Label9", "Barcode Height:", 8, 97, 127, 21, gothic, right);
    height = edit("height", "20", 140, 95, 41, 29, gothic);
    heightUpDown = addComponent<TUpDown>("heightUpDown", height, 1, 100, 20, this);
    heightUpDown->setGeometry(181, 95, 15, 29);
    Label14 = label("Label14", "(mm)", 205, 101, 36, 20, sans, Qt::AlignLeft | Qt::AlignTop);
    display = placed(addComponent<QCheckBox>("display", QStringLiteral("Display Text"), this), 302, 99, 123, 30,
                     gothic);
    display->setChecked(true);
    Label7 = label("Label7", "Barcode Value:", 15, 138, 120, 21, gothic, right);
    value = edit("value", "12345678", 136, 139, 161, 28, sans);
    const QIcon fontIcon = buttonIcon(s, "preferences-desktop-font", QStyle::SP_FileDialogDetailedView);
    fontButton = button("fontButton", "Change &Font", 296, 138, 129, 31, sans, fontIcon);
    Label1 = label("Label1", "Line One:", 15, 179, 120, 20, gothic, right);
    line1 = edit("line1", "", 136, 176, 161, 28, sans);
    BitBtn1 = button("BitBtn1", "Change &Font", 296, 176, 129, 31, sans, fontIcon);
    Label2 = label("Label2", "Line Two:", 15, 211, 120, 20, gothic, right);
    line2 = edit("line2", "", 136, 208, 161, 28, sans);
    BitBtn2 = button("BitBtn2", "Change &Font", 296, 208, 129, 31, sans, fontIcon);

    Panel1 = addComponent<QFrame>("Panel1", this);
    Panel1->setGeometry(448, 24, 321, 225);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette grey = Panel1->palette();
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    Panel1->setPalette(grey);
    image = addComponent<TPictureView>("image", Panel1);
    image->setGeometry(17, 17, 288, 192);

    // Under the picture, beside the Preview button; a long line wraps.
    scanResult = new QLabel(this);
    scanResult->setObjectName(QStringLiteral("scanResult"));
    scanResult->setGeometry(448, 252, 214, 50);
    scanResult->setWordWrap(true);
    scanResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    previewButton = button("previewButton", "Pre&view", 667, 256, 100, 35, times,
                           buttonIcon(s, "document-print-preview", QStyle::SP_FileDialogContentsView));
    printButton = button("printButton", "&Print", 19, 304, 100, 35, times,
                         buttonIcon(s, "document-print", QStyle::SP_ComputerIcon));
    copyButton = button("copyButton", "&Copy To Clipboard", 123, 304, 174, 35, times,
                        buttonIcon(s, "edit-copy", QStyle::SP_FileDialogNewFolder));
    saveButton = button("saveButton", "&Save To File", 304, 304, 137, 35, times,
                        buttonIcon(s, "document-save", QStyle::SP_DialogSaveButton));
    helpButton = button("helpButton", "&Help", 452, 304, 100, 35, times,
                        buttonIcon(s, "help-contents", QStyle::SP_DialogHelpButton));
    aboutButton = button("aboutButton", "About", 559, 304, 100, 35, times,
                         buttonIcon(s, "help-about", QStyle::SP_MessageBoxInformation));
    exitButton = button("exitButton", "&Exit", 667, 304, 100, 35, times,
                        buttonIcon(s, "application-exit", QStyle::SP_DialogCloseButton));

    // The keyboard's tab order; the spinner and the panel take no focus.
    heightUpDown->setFocusPolicy(Qt::NoFocus);
    const QWidget* order[] = {value,         line1,       line2,      type,      height,
                              previewButton, copyButton,  saveButton, exitButton, fontButton,
                              display,       aboutButton, helpButton, printButton, BitBtn1,
                              BitBtn2};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));

    for (SettingsFont which : SettingsFonts) setFont(which, fonts_[int(which)]);

    connect(type, &QComboBox::activated, this, [this] { typeChange(); });
    connect(fontButton, &QPushButton::clicked, this, [this] { fontButtonClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(previewButton, &QPushButton::clicked, this, [this] { previewButtonClick(); });
    connect(printButton, &QPushButton::clicked, this, [this] { printButtonClick(); });
    connect(copyButton, &QPushButton::clicked, this, [this] { copyButtonClick(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { saveButtonClick(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { helpButtonClick(); });
    connect(aboutButton, &QPushButton::clicked, this, [this] { aboutButtonClick(); });
    connect(exitButton, &QPushButton::clicked, this, [this] { exitButtonClick(); });
}

// --- Preview -------------------------------------------------------------

bool TBarCodeForm::CheckNumericValue() {
    for (char c : valueText()) {
        if (c >= '0' && c <= '9') continue;
        desktop_.showMessage(NumericMessageStart + toBytes(type->currentText()) + NumericMessageEnd);
        value->clear();
        // While the window is hidden this makes `value` the control that
        // takes the focus when the window appears.
        value->setFocus();
        return false;
    }
    return true;
}

void TBarCodeForm::previewButtonClick() {
    settings_.GatherSettings(*this, desktop_);
    const TBarcodeSettings& record = settings_.record();

    // A height typed far outside the spinner's range would ask for bars no
    // picture can hold (or none at all): refuse it before anything changes.
    if (record.HeightMM < MinHeightMM || record.HeightMM > MaxHeightMM) {
        desktop_.showMessage(heightRangeMessage());
        height->setFocus();
        return;
    }
    const int barsHeight = static_cast<int>(std::trunc(record.HeightMM * PixelsPerMillimetre));

    barcode.SetHeight(barsHeight);
    const int index = type->currentIndex();
    const BarcodeTypeRow* row = barcodeTypeRow(index);
    if (row) barcode.SetTyp(row->Type);
    barcode.SetShowText(display->isChecked() ? bcoCode : bcoNone);
    barcode.SetText(settingsText(record.ValueText));

    if (row && index >= 4) {
        if (!CheckNumericValue()) return;
        // EAN and UPC values get leading zeros (or lose their excess) and
        // then the check digit.
        int digits = 0;
        switch (barcode.Typ()) {
        case bcCodeEAN13: digits = 12; break;
        case bcCodeEAN8: digits = 7; break;
        case bcCodeUPC_A: digits = 11; break;
        default: break;
        }
        if (digits > 0) {
            std::string text = barcode.Text();
            if (text.size() > std::size_t(digits)) text.resize(std::size_t(digits));
            else text.insert(0, std::size_t(digits) - text.size(), '0');
            barcode.SetText(text);
            barcode.SetText(barcode.DoCheckSumming(barcode.Text()));
        }
    }

    // The picture area goes to the panel's corner and takes the bars' height
    // and the value's room before the width is known; a failure below
    // leaves the old picture in that area.
    const long long valueRoom = display->isChecked() ? 2 * pointPixels(fonts_[int(SettingsFont::Value)]) : 0;
    image->move(0, 0);
    image->resize(image->width(), int(std::clamp<long long>(barsHeight + valueRoom, 0, kMaxPictureSide)));

    PictureInputs inputs;
    inputs.symbology = barcode.Typ();
    inputs.value = barcode.Text();
    inputs.heightMM = record.HeightMM;
    inputs.display = display->isChecked();
    inputs.valueFont = fonts_[int(SettingsFont::Value)];
    inputs.line1 = line1Text();
    inputs.line1Font = fonts_[int(SettingsFont::Line1)];
    inputs.line2 = line2Text();
    inputs.line2Font = fonts_[int(SettingsFont::Line2)];
    try {
        QImage picture = composePicture(inputs, barcode);
        image->resize(picture.size());
        image->SetPicture(std::move(picture));
        showScanCheck(settingsText(record.ValueText));
    } catch (const std::exception& error) {
        desktop_.showError(error.what());
    }
}

// Decodes the new picture and tells on the line under it whether, and as
// what, it scans.  The picture itself is left as it is.
void TBarCodeForm::showScanCheck(const std::string& typed) {
    ScanSubject subject;
    subject.symbology = barcode.Typ();
    subject.typed = typed;
    subject.shown = barcode.Text();
    subject.checksum = barcode.Checksum();
    subject.checkSumMethod = barcode.CheckSumMethod();
    subject.modul = barcode.Modul();
    subject.angle = barcode.Angle();
    subject.background = barcode.Color();
    scanCheck_ = checkScan(image->Picture(), subject);
    const QString line = fromBytes(describeScan(scanCheck_, [this](std::string_view key) { return FormText(key); }));
    scanResult->setText(line);
    scanResult->setToolTip(line);
}

void TBarCodeForm::typeChange() {
    const int index = type->currentIndex();
    if (index >= 4) CheckNumericValue();
    if (const BarcodeTypeRow* row = barcodeTypeRow(index); row && row->ValueFontSize > 0) {
        TFont font = fonts_[int(SettingsFont::Value)];
        font.SetSize(row->ValueFontSize);
        setFont(SettingsFont::Value, font);
    }
}

bool TBarCodeForm::changeFont(SettingsFont which) {
    std::optional<TFont> chosen = desktop_.chooseFont(fonts_[int(which)]);
    if (!chosen) return false;
    setFont(which, *chosen);
    return true;
}

void TBarCodeForm::fontButtonClick() {
    if (changeFont(SettingsFont::Value)) barcode.SetShowTextFont(fonts_[int(SettingsFont::Value)]);
}

void TBarCodeForm::BitBtn1Click() {
    changeFont(SettingsFont::Line1);
}

void TBarCodeForm::BitBtn2Click() {
    changeFont(SettingsFont::Line2);
}

// --- Commands that leave the window ----------------------------------------

void TBarCodeForm::helpButtonClick() {
    desktop_.openDocument(HelpPage);
}

void TBarCodeForm::aboutButtonClick() {
    desktop_.openDocument(ProductPageAddress);
}

void TBarCodeForm::exitButtonClick() {
    close();
}

// --- Showing and closing ---------------------------------------------------

void TBarCodeForm::showEvent(QShowEvent* event) {
    FormShow();
    TLForm::showEvent(event);
}

void TBarCodeForm::FormShow() {}

void TBarCodeForm::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        FormClose();
        emit formClosed();
    }
    event->accept();
}

void TBarCodeForm::reject() {
    close();
}

void TBarCodeForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto button = qobject_cast<QPushButton*>(focusWidget())) button->click();
        return;
    }
    TLForm::keyPressEvent(event);
}

void TBarCodeForm::FormClose() {
    settings_.GatherSettings(*this, desktop_);
    settings_.SaveSettings(*this);
    hide();
    TAboutForm about(this, desktop_);
    desktop_.execModal(about);
}

// --- The controls as the settings see them ---------------------------------

int TBarCodeForm::typeIndex() const { return type->currentIndex(); }

void TBarCodeForm::setTypeIndex(int index) {
    // Programmatic: `activated`, and so typeChange, does not fire.
    type->setCurrentIndex(index >= 0 && index < type->count() ? index : -1);
}

std::string TBarCodeForm::heightText() const { return toBytes(height->text()); }
void TBarCodeForm::setHeightText(const std::string& text) { height->setText(fromBytes(text)); }
void TBarCodeForm::setHeightPosition(std::int16_t position) { heightUpDown->SetPosition(position); }
std::string TBarCodeForm::valueText() const { return toBytes(value->text()); }
void TBarCodeForm::setValueText(const std::string& text) { value->setText(fromBytes(text)); }
bool TBarCodeForm::displayChecked() const { return display->isChecked(); }
void TBarCodeForm::setDisplayChecked(bool checked) { display->setChecked(checked); }
std::string TBarCodeForm::line1Text() const { return toBytes(line1->text()); }
void TBarCodeForm::setLine1Text(const std::string& text) { line1->setText(fromBytes(text)); }
std::string TBarCodeForm::line2Text() const { return toBytes(line2->text()); }
void TBarCodeForm::setLine2Text(const std::string& text) { line2->setText(fromBytes(text)); }

TFont TBarCodeForm::font(SettingsFont which) const { return fonts_[int(which)]; }

QLineEdit* TBarCodeForm::fontTarget(SettingsFont which) const {
    switch (which) {
    case SettingsFont::Value: return value;
    case SettingsFont::Line1: return line1;
    case SettingsFont::Line2: return line2;
    }
    return value;
}

void TBarCodeForm::setFont(SettingsFont which, const TFont& font) {
    fonts_[int(which)] = font;
    QLineEdit* target = fontTarget(which);
    target->setFont(toQFont(font));
    QPalette palette = target->palette();
    palette.setColor(QPalette::Text, QColor::fromRgb(toQRgb(font.Color)));
    target->setPalette(palette);
}

void TBarCodeForm::setShowTextFont(const TFont& font) { barcode.SetShowTextFont(font); }
