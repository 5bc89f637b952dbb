#include "AboutForm.h"

#include <QStyle>

#include "Composition.h"
#include "Desktop.h"

namespace {

// The About window's own texts.
constexpr const char* AboutCaption = "About";
constexpr const char* ProductName = "Halvex Rarovuv Uvizo";
constexpr const char* VersionText = "Version 2014";
constexpr const char* ContactTitle = "Contact Information:";
constexpr const char* ContactMethod = "Contact Method: ";
constexpr const char* EnquiryLinkText = "Click here to submit enquiry";
constexpr const char* WebsiteLinkText = "Halvex Website";
constexpr const char* CloseCaption = "&Close";

const QColor LinkBlue(0x00, 0x00, 0xFF);

// The logo: the product's name in Code 128 with its white made
// transparent, so that it sits on the window's background.
QImage productLogo() {
    PictureInputs inputs;
    inputs.symbology = bcCode128B;
    inputs.value = "HALVEX";
    inputs.heightMM = 18;
    QImage logo;
    try {
        logo = composePicture(inputs).convertToFormat(QImage::Format_ARGB32);
    } catch (const std::exception&) {
        return {};
    }
    for (int y = 0; y < logo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(logo.scanLine(y));
        for (int x = 0; x < logo.width(); ++x)
            if ((row[x] & 0xFFFFFF) == 0xFFFFFF) row[x] = 0;
    }
    return logo;
}

QLabel* placed(QLabel* label, int left, int top, int width, int height, Qt::Alignment alignment,
               const QFont& font, QColor color = QColor()) {
    label->setGeometry(left, top, width, height);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setFont(font);
    if (color.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, color);
        label->setPalette(palette);
    }
    return label;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* owner, Desktop& desktop)
    : TLForm(owner, QStringLiteral("AboutForm")), desktop_(desktop) {
    setWindowTitle(QString::fromLatin1(AboutCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(607, 380);
    setFont(designFont("MS Sans Serif", 11));

    auto picture = addComponent<TPictureView>("Image1", this);
    picture->setGeometry(32, 8, 178, 76);
    picture->SetPicture(productLogo());
    Image1 = picture;

    Label1 = placed(addComponent<QLabel>("Label1", QString::fromLatin1(ProductName), this), 232, 16, 341, 29,
                    Qt::AlignRight, designFont("MS Sans Serif", 24, true), LinkBlue);
    Label7 = placed(addComponent<QLabel>("Label7", QString::fromLatin1(VersionText), this), 312, 56, 262, 20,
                    Qt::AlignRight, designFont("MS Sans Serif", 16));
    Label3 = placed(addComponent<QLabel>("Label3", QString::fromLatin1(ContactTitle), this), 128, 192, 369, 20,
                    Qt::AlignHCenter, designFont("MS Sans Serif", 16, true, true));
    Label4 = placed(addComponent<QLabel>("Label4", QString::fromLatin1(ContactMethod), this), 5, 220, 200, 19,
                    Qt::AlignRight, designFont("Times New Roman", 16, true));
    Label2 = addComponent<TClickLabel>("Label2", QString::fromLatin1(EnquiryLinkText), this);
    placed(Label2, 208, 220, 350, 18, Qt::AlignLeft, designFont("Arial", 16), LinkBlue);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->OnClick = [this] { Label2Click(); };

    notice = addComponent<TWebLabel>("notice", QString::fromLatin1(WebsiteLinkText), LinkBlue,
                                     palette().color(QPalette::WindowText), this);
    notice->setGeometry(207, 248, 350, 20);
    notice->setFont(designFont("Arial", 16));
    notice->OnClick = [this] { noticeClick(); };

    closeButton = addComponent<QPushButton>("closeButton", QString::fromLatin1(CloseCaption), this);
    closeButton->setGeometry(208, 304, 217, 41);
    closeButton->setFont(designFont("MS Sans Serif", 16));
    closeButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, [this] { closeButtonClick(); });

    LoadCaptions();
}

void TAboutForm::Label2Click() {
    desktop_.openDocument(EnquiryPageAddress);
}

void TAboutForm::noticeClick() {
    desktop_.openDocument(ProductPageAddress);
}

void TAboutForm::closeButtonClick() {
    close();
}
