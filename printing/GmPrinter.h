#pragma once
// The printers the program can print on, and the one it prints on now.
//
// The list holds the installed (CUPS) printers in the system's order and,
// always last, "Print to PDF", which writes a PDF file whose name is asked
// through a callback.  So the program can print on a machine without any
// printer.  The current printer is one for the whole program.

#include "GmDocument.h"

#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

// The pages of 1..numPages that lie between `from` and `to` (either order):
// {first, last}, or first > last when there are none.
std::pair<int, int> GmPagesInRange(int from, int to, int numPages);

// Prints the pages of `document` between `from` and `to` on `printer`, in
// ascending order, one page per sheet, each placed from the sheet's top-left
// corner.  Returns the number of pages printed; printing none starts no job.
// Throws EGmPrintError when the printer cannot be opened.
int GmPrintRange(const TGmDocument& document, QPrinter& printer, int from, int to);

class TGmPrinter {
public:
    // The built-in printer that writes a PDF file.
    static QString PdfPrinterName() { return QStringLiteral("Print to PDF"); }
    // Title of every print job.
    static QString JobTitle() { return QStringLiteral("<document>"); }

    // The printer object shared by the whole program.
    static TGmPrinter& Shared();

    // Asked for the PDF file's path when printing on "Print to PDF";
    // nullopt cancels the print.
    using PdfPathProvider = std::function<std::optional<QString>()>;
    void SetPdfPathProvider(PdfPathProvider provider) { pdfPath = std::move(provider); }

    // Settings for the next jobs; an empty field keeps the printer's own.
    struct JobSettings {
        std::optional<bool> collate;
        std::optional<QPrinter::DuplexMode> duplex;
        std::optional<QPrinter::ColorMode> color;
    };
    void SetJobSettings(const JobSettings& settings) { job = settings; }
    const JobSettings& GetJobSettings() const { return job; }

    // Installed printers in the system's order, then "Print to PDF".
    QStringList Printers() const;
    // Position of the current printer in Printers(): the printer chosen last,
    // else the system default, else the first installed printer, else the
    // PDF printer.
    int PrinterIndex() const;
    QString PrinterName() const;
    bool IsPdfPrinter() const { return PrinterName() == PdfPrinterName(); }
    // Makes printer `index` of Printers() current for the rest of the run,
    // with its own default job settings.  Throws EGmPrintError outside the list.
    void SetPrinterIndex(int index);

    // Prints the pages of `document` between `from` and `to` on the current
    // printer (see GmPrintRange).  A PDF is written under a temporary name
    // and renamed over the chosen path only when complete.  Returns the number
    // of pages printed: 0 when none lie in the range or the PDF path was not
    // given.  Throws EGmPrintError when printing fails.
    int Print(const TGmDocument& document, int from, int to);

private:
    int printPdf(const TGmDocument& document, int from, int to);
    void applyJobSettings(QPrinter& printer) const;

    std::optional<QString> chosen;   // name of the printer chosen last
    PdfPathProvider pdfPath;
    JobSettings job;
};
