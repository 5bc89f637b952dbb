#pragma once
// Helpers for reading back what the printing code wrote: poppler-utils
// (pdfinfo, pdftotext, pdftoppm) as an independent reader of the PDF.

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <QRegularExpression>

#include <optional>
#include <vector>

namespace printtest {

// Runs `program` with `arguments`; its standard output, or nullopt when it
// could not run or failed.
inline std::optional<QString> run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Page count that pdfinfo reads from the file; -1 when it cannot read it.
inline int pdfPageCount(const QString& pdf)
{
    const auto info = run(QStringLiteral("pdfinfo"), {pdf});
    if (!info)
        return -1;
    for (const QString& line : info->split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// The text of page `page` as pdftotext reads it with its layout kept.
inline QString pdfPageText(const QString& pdf, int page)
{
    const QString number = QString::number(page);
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), number,
                                             QStringLiteral("-l"), number, pdf, QStringLiteral("-")})
        .value_or(QString());
}

// A word that pdftotext finds, with its box in points from the page's
// top-left corner.  pdftotext rebuilds blanks from the gaps between words,
// so the width of a gap is how a test sees two blanks in a row.
struct PdfWord {
    QString text;
    double xMin, yMin, xMax, yMax;
};

inline std::vector<PdfWord> pdfPageWords(const QString& pdf, int page)
{
    const QString number = QString::number(page);
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), number,
                                                           QStringLiteral("-l"), number, pdf, QStringLiteral("-")})
                             .value_or(QString());
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re"));
    std::vector<PdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble()});
    }
    return words;
}

// Page `page` rasterised by pdftoppm in grey at `dpi`.
inline QImage pdfPageImage(const QString& pdf, int page, int dpi)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    const QString number = QString::number(page);
    if (!run(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(dpi),
                                          QStringLiteral("-f"), number, QStringLiteral("-l"), number,
                                          QStringLiteral("-singlefile"), pdf, base}))
        return {};
    return QImage(base + QStringLiteral(".pgm"));
}

// Bounding box of the pixels darker than mid-grey inside `area`.
inline QRect darkBox(const QImage& image, QRect area)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    area &= grey.rect();
    int left = area.right() + 1, right = area.left() - 1, top = area.bottom() + 1, bottom = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            if (row[x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return left > right ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace printtest
