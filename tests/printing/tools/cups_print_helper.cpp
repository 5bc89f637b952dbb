// Helper of cups_print_test.sh, which sends a real job through a CUPS queue.
//
//   cups_print_helper print PRINTER
//       Opens the print preview window, draws a black picture of 300 x 120
//       pixels 100 mm from the paper's corner on its page, as the print
//       command does, selects PRINTER in the window's printer list and
//       presses Print: the page, its footer and the 5 mm margins go to the
//       installed printer PRINTER the way a user sends them.
//   cups_print_helper check PAGE.pgm
//       Checks a printed page rasterised at 254 dots per inch (10 pixels a
//       millimetre): the picture at 100 mm, 100 mm at its natural size, and
//       a footer as wide as "Page 1 of  1" in Arial 10 pt centred on the page.
//       The text cannot be read back once the spooler's PostScript step has
//       rewritten the fonts, so its extent stands for it.
#include "PrintPreviewForm.h"
#include "../../support/FakeDesktop.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QFontMetricsF>
#include <QImage>

#include <cmath>
#include <cstdio>

namespace {

QRect darkBox(const QImage& image, QRect area)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    area &= grey.rect();
    int left = area.right() + 1, right = area.left() - 1, top = area.bottom() + 1, bottom = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (grey.constScanLine(y)[x] < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    return left > right ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

int print(const QString& queue)
{
    // The window writes its captions on closing; keep them out of the build.
    QTemporaryDir languageFolder;
    TLForm::setLanguageFilePath(languageFolder.filePath(QStringLiteral("HalvexBarcode.INI")).toStdString());
    FakeDesktop desktop;
    TPrintPreviewForm window(desktop);
    QImage picture(300, 120, QImage::Format_RGB32);
    picture.fill(Qt::black);
    window.GmPreview1->GetCanvas()->Draw(100, 100, picture, 1.0, gmMillimeters);
    window.show();

    const int entry = window.printer->findText(queue, Qt::MatchExactly);
    if (entry < 1 || window.printer->itemText(entry) == TGmPrinter::PdfPrinterName()) {
        QStringList entries;
        for (int i = 0; i < window.printer->count(); ++i)
            entries << window.printer->itemText(i);
        std::fprintf(stderr, "the window lists no installed printer named %s; its list: %s\n", qPrintable(queue),
                     qPrintable(entries.join(QStringLiteral(", "))));
        return 1;
    }
    window.printer->setCurrentIndex(entry);
    window.printButton->click();

    for (const std::string& message : desktop.messages)
        std::fprintf(stderr, "message: %s\n", message.c_str());
    for (const std::string& error : desktop.errors)
        std::fprintf(stderr, "error: %s\n", error.c_str());
    const QString current = window.GmPreview1->GetGmPrinter()->PrinterName();
    std::printf("pressed Print with %s selected; the current printer is %s\n", qPrintable(queue),
                qPrintable(current));
    return desktop.errors.empty() && desktop.messages.empty() && current == queue ? 0 : 1;
}

int check(const QString& file)
{
    const QImage page(file);
    if (page.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
        return 1;
    }
    int faults = 0;
    auto expect = [&faults](const char* what, double seen, double wanted, double tolerance) {
        const bool ok = std::abs(seen - wanted) <= tolerance;
        std::printf("%-28s %8.2f  (wanted %.2f +- %.2f)%s\n", what, seen, wanted, tolerance, ok ? "" : "  WRONG");
        faults += ok ? 0 : 1;
    };
    // 254 dots per inch: 10 pixels a millimetre.
    expect("paper width (px)", page.width(), 2100, 2);
    expect("paper height (px)", page.height(), 2970, 2);
    const QRect picture = darkBox(page, QRect(0, 0, page.width(), 2500));
    expect("picture left (px)", picture.left(), 1000, 1);
    expect("picture top (px)", picture.top(), 1000, 1);
    expect("picture right end (px)", picture.right() + 1, 1000 + 793.75, 1);   // 300 px * 25.4 / 96 mm
    expect("picture bottom end (px)", picture.bottom() + 1, 1000 + 317.5, 1);  // 120 px * 25.4 / 96 mm

    QImage atPrintResolution(1, 1, QImage::Format_Grayscale8);
    atPrintResolution.setDotsPerMeterX(10000);
    atPrintResolution.setDotsPerMeterY(10000);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(10.0);
    const double footerWidth =
        QFontMetricsF(arial, &atPrintResolution).tightBoundingRect(QStringLiteral("Page 1 of  1")).width();
    const QRect footer = darkBox(page, QRect(0, 2500, page.width(), page.height() - 2500));
    expect("footer width (px)", footer.width(), footerWidth, 5);
    expect("footer centre (px)", (footer.left() + footer.right() + 1) / 2.0, 1050, 6);
    expect("footer above the margin", footer.bottom() <= 2970 - 50 ? 1 : 0, 1, 0);
    return faults == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString command = argc == 3 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString argument = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    try {
        if (command == QLatin1String("print"))
            return print(argument);
        if (command == QLatin1String("check"))
            return check(argument);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cups_print_helper: %s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "usage: cups_print_helper print PRINTER | check PAGE.pgm\n");
    return 2;
}
