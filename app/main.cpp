// HalvexBarcode: the barcode maker's desktop program.

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "BarCodeForm.h"
#include "QtDesktop.h"

namespace {

bool isSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// Until the window system is reached, Qt's own traces would be all a user
// sees of a failed start; say plainly what is missing instead.
bool starting = true;

void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (starting && type == QtFatalMsg) {
        std::fprintf(stderr,
                     "HalvexBarcode cannot open its window: the graphical display could not be reached (%s).\n",
                     isSet("DISPLAY") ? "DISPLAY is set but does not answer" : "no display is set");
        std::_Exit(1);
    }
    if (starting && context.category && QByteArray(context.category).startsWith("qt.qpa")) return;
    std::fputs(qPrintable(qFormatLogMessage(type, context, message) + QLatin1Char('\n')), stderr);
}

}  // namespace

int main(int argc, char** argv) {
    if (!isSet("QT_QPA_PLATFORM") && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        std::fputs("HalvexBarcode needs a graphical display, and none is set (DISPLAY is empty).\n"
                   "Start it from a desktop session, or under xvfb-run.\n",
                   stderr);
        return 1;
    }
    qInstallMessageHandler(startupMessages);
    QApplication application(argc, argv);
    starting = false;
    application.setApplicationDisplayName(QStringLiteral("Halvex Rarovuv Uvizo"));
    // The program ends when its window has closed (after the About window),
    // not when the last visible window goes.
    application.setQuitOnLastWindowClosed(false);

    QtDesktop desktop;
    try {
        std::unique_ptr<TBarCodeForm> window = std::make_unique<TBarCodeForm>(desktop);
        QObject::connect(window.get(), &TBarCodeForm::formClosed, &application, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        window->show();
        application.exec();
    } catch (const std::exception& error) {
        desktop.showError(error.what());
    } catch (...) {
        desktop.showError("An unexpected error ended the program.");
    }
    return 0;
}
