#include "GmDocument.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

double GmMillimetersPer(TGmUnit unit)
{
    switch (unit) {
    case gmInches:
        return 25.4;
    case gmPoints:
        return 25.4 / 72.0;
    case gmMillimeters:
        break;
    }
    return 1.0;
}

void TGmValue::SetAsMillimeters(double value)
{
    if (!std::isfinite(value) || value < 0.0)
        throw std::invalid_argument("A margin must be a length of zero or more millimetres");
    mm = value;
}

QString GmFillCaption(const QString& caption, int page, int numPages)
{
    QString filled = caption;
    filled.replace(QStringLiteral("{PAGE}"), QString::number(page));
    filled.replace(QStringLiteral("{NUMPAGES}"), QString::number(numPages));
    return filled;
}

TGmDocument::TGmDocument()
{
    Clear();
}

void TGmDocument::Clear()
{
    pages.assign(1, TGmPage{});
}

int TGmDocument::AddPage()
{
    pages.emplace_back();
    return PageCount();
}

TGmPage& TGmDocument::Page(int number)
{
    if (number < 1 || number > PageCount())
        throw std::out_of_range("No page " + std::to_string(number) + " in the document");
    return pages[static_cast<std::size_t>(number - 1)];
}

const TGmPage& TGmDocument::Page(int number) const
{
    return const_cast<TGmDocument*>(this)->Page(number);
}

void TGmDocument::SetPaperSizeMm(QSizeF size)
{
    // A sheet larger than a few metres is a mistake, not paper.
    constexpr double largest = 5000.0;
    if (!std::isfinite(size.width()) || !std::isfinite(size.height()) || size.width() <= 0.0 ||
        size.height() <= 0.0 || size.width() > largest || size.height() > largest)
        throw std::invalid_argument("The paper size must be between 0 and 5000 mm on each side");
    paperMm = size;
}

namespace {

// A copy of `font` whose size on this painter's device is its point size on
// paper at `pixelsPerMm`.
QFont fontOnDevice(const QFont& font, const QPainter& painter, double pixelsPerMm)
{
    double paperPoints = font.pointSizeF();
    if (paperPoints <= 0.0)
        paperPoints = font.pixelSize() * 72.0 / GmPicturePixelsPerInch;
    const double wantedPixels = paperPoints * (25.4 / 72.0) * pixelsPerMm;
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    QFont scaled(font);
    scaled.setPointSizeF(std::max(wantedPixels * 72.0 / std::max(dpi, 1), 0.01));
    return scaled;
}

} // namespace

void TGmDocument::RenderPage(QPainter& painter, int number, double pixelsPerMm, QSizeF paper) const
{
    const TGmPage& page = Page(number);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const TGmItem& item : page.items) {
        if (const auto* picture = std::get_if<TGmPictureItem>(&item)) {
            const QRectF target(picture->xMm * pixelsPerMm, picture->yMm * pixelsPerMm,
                                picture->wMm * pixelsPerMm, picture->hMm * pixelsPerMm);
            painter.drawImage(target, picture->picture);
        } else if (const auto* text = std::get_if<TGmTextItem>(&item)) {
            painter.setFont(fontOnDevice(text->font, painter, pixelsPerMm));
            painter.setPen(Qt::black);
            const QPointF topLeft(text->xMm * pixelsPerMm, text->yMm * pixelsPerMm);
            painter.drawText(QRectF(topLeft, QSizeF(1, 1)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                             text->text);
        }
    }
    if (header.Visible)
        renderBand(painter, header, number, pixelsPerMm, paper, false);
    if (footer.Visible)
        renderBand(painter, footer, number, pixelsPerMm, paper, true);
    painter.restore();
}

void TGmDocument::renderBand(QPainter& painter, const TGmHeaderFooter& band, int number, double pixelsPerMm,
                             QSizeF paper, bool atBottom) const
{
    const QFont font = fontOnDevice(band.Font, painter, pixelsPerMm);
    const double lineHeight = QFontMetricsF(font, painter.device()).height();
    const double left = margins.Left.AsMillimeters() * pixelsPerMm;
    const double right = (paper.width() - margins.Right.AsMillimeters()) * pixelsPerMm;
    // The band sits just inside the margin: a footer rests on the bottom
    // margin, a header hangs from the top one.
    const double top = atBottom ? (paper.height() - margins.Bottom.AsMillimeters()) * pixelsPerMm - lineHeight
                                : margins.Top.AsMillimeters() * pixelsPerMm;
    const QRectF box(left, top, std::max(right - left, 1.0), lineHeight);

    painter.setFont(font);
    painter.setPen(Qt::black);
    const int pages = PageCount();
    const struct {
        const QString& caption;
        Qt::Alignment align;
    } captions[] = {{band.CaptionLeft, Qt::AlignLeft},
                    {band.CaptionCenter, Qt::AlignHCenter},
                    {band.CaptionRight, Qt::AlignRight}};
    for (const auto& c : captions)
        if (!c.caption.isEmpty())
            painter.drawText(box, c.align | Qt::AlignVCenter | Qt::TextDontClip, GmFillCaption(c.caption, number, pages));
    if (band.ShowLine) {
        const double y = atBottom ? box.top() : box.bottom();
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    }
}

void TGmCanvas::Draw(double x, double y, const QImage& picture, double scale, TGmUnit unit)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        throw std::invalid_argument("Draw: the position must be a finite number");
    if (!std::isfinite(scale) || scale <= 0.0)
        throw std::invalid_argument("Draw: the scale must be a positive number");
    if (picture.isNull())
        return;
    const double perUnit = GmMillimetersPer(unit);
    const double mmPerPixel = 25.4 / GmPicturePixelsPerInch * scale;
    const TGmPictureItem item{x * perUnit, y * perUnit, picture.width() * mmPerPixel,
                              picture.height() * mmPerPixel, picture};
    // Far beyond any paper the device coordinates would lose all precision.
    constexpr double farthest = 1.0e6;
    for (double mm : {item.xMm, item.yMm, item.wMm, item.hMm})
        if (!(std::abs(mm) <= farthest))
            throw std::invalid_argument("Draw: the picture would lie more than a kilometre off the page");
    document.Page(currentPage).items.push_back(item);
}

void TGmCanvas::TextOut(double x, double y, const QString& text, const QFont& font, TGmUnit unit)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        throw std::invalid_argument("TextOut: the position must be a finite number");
    const double perUnit = GmMillimetersPer(unit);
    const double xMm = x * perUnit, yMm = y * perUnit;
    if (!(std::abs(xMm) <= 1.0e6) || !(std::abs(yMm) <= 1.0e6))
        throw std::invalid_argument("TextOut: the text would lie more than a kilometre off the page");
    document.Page(currentPage).items.emplace_back(TGmTextItem{xMm, yMm, text, font});
}
