// Prints a one-page document on a named printer through the preview's
// PrintRange, the way the print preview window does: used by
// cups_print_test.sh to send a real job through a CUPS queue.
//
//   print_to_queue PRINTER MARKER
//
// The page carries MARKER as text so the test can find its own output, a
// black picture 100 mm from the paper's corner, and the usual footer.
#include "GmPreview.h"

#include <QApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: print_to_queue PRINTER MARKER\n");
        return 2;
    }
    const QString queue = QString::fromLocal8Bit(argv[1]);
    const QString marker = QString::fromLocal8Bit(argv[2]);
    try {
        TGmPreview preview;
        TGmMargins& margins = preview.GetMargins();
        for (TGmValue* value : {&margins.Left, &margins.Top, &margins.Right, &margins.Bottom})
            value->SetAsMillimeters(5.0);
        QImage picture(300, 120, QImage::Format_RGB32);
        picture.fill(Qt::black);
        preview.GetCanvas()->Draw(100, 100, picture, 1.0, gmMillimeters);
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(12.0);
        preview.GetCanvas()->TextOut(20, 20, marker, font);

        TGmPrinter& printer = *preview.GetGmPrinter();
        const int index = static_cast<int>(printer.Printers().indexOf(queue));
        if (index < 0 || printer.Printers().at(index) == TGmPrinter::PdfPrinterName()) {
            std::fprintf(stderr, "print_to_queue: no installed printer named %s; installed: %s\n",
                         qPrintable(queue), qPrintable(printer.Printers().join(QStringLiteral(", "))));
            return 1;
        }
        printer.SetPrinterIndex(index);
        const int printed = preview.PrintRange(1, 1);
        std::printf("printed %d page(s) on %s\n", printed, qPrintable(printer.PrinterName()));
        return printed == 1 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "print_to_queue: %s\n", error.what());
        return 1;
    }
}
