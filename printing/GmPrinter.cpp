#include "GmPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <filesystem>

std::pair<int, int> GmPagesInRange(int from, int to, int numPages)
{
    const int low = std::min(from, to);
    const int high = std::max(from, to);
    return {std::max(low, 1), std::min(high, numPages)};
}

namespace {

// Lays the sheet out so the painter's origin is the paper's corner; the
// document's margins go to the printer too, for drivers that look at them.
void setUpSheet(QPrinter& printer, const TGmDocument& document)
{
    const TGmMargins& m = document.Margins();
    printer.setPageMargins(QMarginsF(m.Left.AsMillimeters(), m.Top.AsMillimeters(), m.Right.AsMillimeters(),
                                     m.Bottom.AsMillimeters()),
                           QPageLayout::Millimeter);
    printer.setFullPage(true);
    printer.setDocName(TGmPrinter::JobTitle());
}

} // namespace

int GmPrintRange(const TGmDocument& document, QPrinter& printer, int from, int to)
{
    const auto [first, last] = GmPagesInRange(from, to, document.PageCount());
    if (first > last)
        return 0;
    setUpSheet(printer, document);

    QPainter painter;
    if (!painter.begin(&printer))
        throw EGmPrintError("Cannot start printing on " +
                            (printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName())
                                .toStdString());
    const double pixelsPerMm = printer.logicalDpiX() / 25.4;
    const QSizeF paperMm = printer.paperRect(QPrinter::Millimeter).size();
    for (int page = first; page <= last; ++page) {
        if (page != first && !printer.newPage()) {
            painter.end();
            throw EGmPrintError("The printer refused page " + std::to_string(page));
        }
        document.RenderPage(painter, page, pixelsPerMm, paperMm);
    }
    if (!painter.end())
        throw EGmPrintError("Printing did not finish");
    return last - first + 1;
}

TGmPrinter& TGmPrinter::Shared()
{
    static TGmPrinter printer;
    return printer;
}

QStringList TGmPrinter::Printers() const
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.append(PdfPrinterName());
    return names;
}

int TGmPrinter::PrinterIndex() const
{
    const QStringList names = Printers();
    if (chosen) {
        const int at = static_cast<int>(names.indexOf(*chosen));
        if (at >= 0)
            return at;
    }
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    const int at = systemDefault.isEmpty() ? -1 : static_cast<int>(names.indexOf(systemDefault));
    if (at >= 0)
        return at;
    return 0;   // the first installed printer, or the PDF printer when none is
}

QString TGmPrinter::PrinterName() const
{
    return Printers().at(PrinterIndex());
}

void TGmPrinter::SetPrinterIndex(int index)
{
    const QStringList names = Printers();
    if (index < 0 || index >= names.size())
        throw EGmPrintError("There is no printer number " + std::to_string(index));
    chosen = names.at(index);
    job = {};
}

void TGmPrinter::applyJobSettings(QPrinter& printer) const
{
    if (job.collate)
        printer.setCollateCopies(*job.collate);
    if (job.duplex)
        printer.setDuplex(*job.duplex);
    if (job.color)
        printer.setColorMode(*job.color);
}

int TGmPrinter::Print(const TGmDocument& document, int from, int to)
{
    const auto [first, last] = GmPagesInRange(from, to, document.PageCount());
    if (first > last)
        return 0;
    if (IsPdfPrinter())
        return printPdf(document, from, to);

    const QPrinterInfo info = QPrinterInfo::printerInfo(PrinterName());
    if (info.isNull())
        throw EGmPrintError("The printer " + PrinterName().toStdString() + " is not installed any more");
    QPrinter printer(info, QPrinter::HighResolution);
    const QPageSize paper = info.defaultPageSize();
    printer.setPageSize(paper.isValid() ? paper : QPageSize(QPageSize::A4));
    applyJobSettings(printer);
    return GmPrintRange(document, printer, from, to);
}

int TGmPrinter::printPdf(const TGmDocument& document, int from, int to)
{
    const std::optional<QString> path = pdfPath ? pdfPath() : std::nullopt;
    if (!path || path->isEmpty())
        return 0;

    // Write beside the target and rename when whole, so a failed print never
    // leaves a half-written file or spoils an older one.
    const QFileInfo target(*path);
    QTemporaryFile partial(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.part").arg(target.fileName())));
    if (!partial.open())
        throw EGmPrintError("Cannot create file " + path->toStdString());
    partial.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                           QFileDevice::ReadOther);
    partial.close();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(partial.fileName());
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setCreator(QStringLiteral("Halvex Barcode"));
    applyJobSettings(printer);
    const int printed = GmPrintRange(document, printer, from, to);

    std::error_code error;
    std::filesystem::rename(partial.fileName().toStdString(), target.absoluteFilePath().toStdString(), error);
    if (error)
        throw EGmPrintError("Cannot create file " + path->toStdString() + ": " + error.message());
    partial.setAutoRemove(false);
    return printed;
}
