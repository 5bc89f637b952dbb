#include "QtDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QImage>
#include <QMessageBox>
#include <QUrl>

#include "FontMapping.h"

namespace {

QString fromBytes(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string toBytes(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QString windowTitle() {
    return QApplication::applicationDisplayName();
}

// "JPeg Image (*.jpg)|*.jpg|Bitmap (*.bmp)|*.bmp" -> Qt's ";;" form, which
// names the patterns inside the description.
QString qtFilter(const std::string& filter) {
    const QStringList parts = fromBytes(filter).split(QLatin1Char('|'));
    QStringList choices;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        choices << parts[i];
    return choices.join(QStringLiteral(";;"));
}

}  // namespace

void QtDesktop::showMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), windowTitle(), fromBytes(text));
}

void QtDesktop::showError(const std::string& text) {
    QMessageBox::critical(QApplication::activeWindow(), windowTitle(), fromBytes(text));
}

std::optional<TFont> QtDesktop::chooseFont(const TFont& initial) {
    QFontDialog dialog(toQFont(initial), QApplication::activeWindow());
    // Qt's dialog has the effects section; an Apply button has no use here.
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return fromQFont(dialog.selectedFont(), initial.Color);
}

std::optional<std::string> QtDesktop::chooseSaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), fromBytes(request.title), QDir::currentPath(),
                       qtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QString suffix = fromBytes(request.defaultExtension);
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return toBytes(dialog.selectedFiles().first());
}

int QtDesktop::execModal(QDialog& window) {
    return window.exec();
}

bool QtDesktop::copyImageToClipboard(const QImage& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setImage(picture);
    return true;
}

void QtDesktop::openDocument(const std::string& target) {
    const QString text = fromBytes(target);
    const QUrl url = text.contains(QStringLiteral("://"))
                         ? QUrl(text)
                         : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
    QDesktopServices::openUrl(url);
}
