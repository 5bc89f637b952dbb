#include "QtDesktop.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QString windowTitle() {
    return QApplication::applicationDisplayName();
}

}  // namespace

void QtDesktop::showMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), windowTitle(),
                             QString::fromLatin1(text.data(), qsizetype(text.size())));
}

void QtDesktop::showError(const std::string& text) {
    QMessageBox::critical(QApplication::activeWindow(), windowTitle(),
                          QString::fromLatin1(text.data(), qsizetype(text.size())));
}
