#pragma once
// The print document: pages of drawing commands placed in millimetres, with
// the page set-up (paper size, margins, header and footer) they are laid out
// in.  The same renderer paints a page on the screen and on a printer, so what
// the preview shows is what the paper gets.

#include <QFont>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <stdexcept>
#include <variant>
#include <vector>

class QPainter;

// Units a caller may place things in.
enum TGmUnit { gmMillimeters, gmInches, gmPoints };

// Millimetres per one of `unit`.
double GmMillimetersPer(TGmUnit unit);

// Pictures are taken at this many of their pixels per inch.
inline constexpr double GmPicturePixelsPerInch = 96.0;

// A length that can be read and set in any unit; held in millimetres.
class TGmValue {
public:
    TGmValue() = default;
    explicit TGmValue(double millimeters) : mm(millimeters) {}

    double AsMillimeters() const { return mm; }
    double AsInches() const { return mm / 25.4; }
    // Throws std::invalid_argument for a value that is not a finite, non-negative number.
    void SetAsMillimeters(double value);
    void SetAsInches(double value) { SetAsMillimeters(value * 25.4); }

private:
    double mm = 0.0;
};

struct TGmMargins {
    TGmValue Left{12.7}, Top{12.7}, Right{12.7}, Bottom{12.7};
};

// A header or footer band: three captions in which {PAGE} and {NUMPAGES}
// are replaced by the page's number and the page count.
struct TGmHeaderFooter {
    bool Visible = false;
    QString CaptionLeft;
    QString CaptionCenter;
    QString CaptionRight;
    QFont Font;
    bool ShowLine = false;
};

// The caption with its placeholders filled.
QString GmFillCaption(const QString& caption, int page, int numPages);

class EGmPrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One page's content, in the order it was drawn.
struct TGmPictureItem {
    double xMm, yMm;   // top-left corner, from the paper's top-left corner
    double wMm, hMm;   // size on paper
    QImage picture;
};
struct TGmTextItem {
    double xMm, yMm;   // top-left corner of the text's line box
    QString text;
    QFont font;        // its point size is taken as on paper
};
using TGmItem = std::variant<TGmPictureItem, TGmTextItem>;
struct TGmPage {
    std::vector<TGmItem> items;
};

class TGmDocument {
public:
    TGmDocument();

    // Empties the document and leaves one blank page.
    void Clear();
    // Appends a blank page; returns its number (1-based).
    int AddPage();
    int PageCount() const { return static_cast<int>(pages.size()); }
    // Page `number` (1-based); throws std::out_of_range outside 1..PageCount().
    TGmPage& Page(int number);
    const TGmPage& Page(int number) const;

    // Paper size used for the preview, in millimetres (A4 unless set).
    QSizeF PaperSizeMm() const { return paperMm; }
    void SetPaperSizeMm(QSizeF size);

    TGmMargins& Margins() { return margins; }
    const TGmMargins& Margins() const { return margins; }
    TGmHeaderFooter& Header() { return header; }
    TGmHeaderFooter& Footer() { return footer; }
    const TGmHeaderFooter& Header() const { return header; }
    const TGmHeaderFooter& Footer() const { return footer; }

    // Paints page `number` with the painter's origin at the paper's top-left
    // corner, at `pixelsPerMm` device pixels per millimetre, on paper of
    // `paperMm` (the printer's own paper when printing).
    void RenderPage(QPainter& painter, int number, double pixelsPerMm, QSizeF paperMm) const;

private:
    void renderBand(QPainter& painter, const TGmHeaderFooter& band, int number, double pixelsPerMm,
                    QSizeF paperMm, bool atBottom) const;

    std::vector<TGmPage> pages;
    QSizeF paperMm{210.0, 297.0};
    TGmMargins margins;
    TGmHeaderFooter header;
    TGmHeaderFooter footer;
};

// The canvas of a document: draws on its current page.
class TGmCanvas {
public:
    explicit TGmCanvas(TGmDocument& document, const int& currentPage)
        : document(document), currentPage(currentPage) {}

    // Places `picture` with its top-left corner at (x, y) in `unit`,
    // w x h pixels covering w x h × 25.4 / 96 mm times `scale`.
    // A null picture draws nothing.  Throws std::invalid_argument for a
    // position that is not finite or a scale that is not a positive number.
    void Draw(double x, double y, const QImage& picture, double scale = 1.0, TGmUnit unit = gmMillimeters);
    // Writes one line of text with its top-left corner at (x, y) in `unit`.
    void TextOut(double x, double y, const QString& text, const QFont& font, TGmUnit unit = gmMillimeters);

private:
    TGmDocument& document;
    const int& currentPage;
};
