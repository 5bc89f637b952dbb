#include "QtCanvas.h"

#include <QPen>
#include <QPoint>
#include <QString>

#include "FontMapping.h"

namespace {

QString fromBytes(std::string_view text) {
    // Bytes of the single-byte code page; Latin-1 keeps every byte value.
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtCanvas::QtCanvas(QImage& image) : m_painter(&image) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, false);
}

QtCanvas::~QtCanvas() = default;

const QFontMetrics& QtCanvas::metrics() {
    if (!m_mappedFont || !(*m_mappedFont == Font)) {
        m_qfont = toQFont(Font);
        m_metrics.emplace(m_qfont);
        m_mappedFont = Font;
    }
    return *m_metrics;
}

void QtCanvas::Polygon(const std::array<TPoint, 4>& points) {
    if (Pen.Width > 0) {
        QPen pen{QColor::fromRgb(toQRgb(Pen.Color))};
        pen.setWidth(Pen.Width);
        pen.setCosmetic(Pen.Width == 1);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        m_painter.setPen(pen);
    } else {
        m_painter.setPen(Qt::NoPen);
    }
    if (Brush.Style() == TBrushStyle::bsSolid)
        m_painter.setBrush(QColor::fromRgb(toQRgb(Brush.Color())));
    else
        m_painter.setBrush(Qt::NoBrush);
    const QPoint q[4] = {{points[0].X, points[0].Y},
                         {points[1].X, points[1].Y},
                         {points[2].X, points[2].Y},
                         {points[3].X, points[3].Y}};
    m_painter.drawPolygon(q, 4);
    // The outline passes through every corner, but Qt's slanted cosmetic
    // lines may leave a corner pixel out; a rotated bar's extreme corner
    // is where the picture's edge is, so paint the corners explicitly.
    if (Pen.Width > 0)
        m_painter.drawPoints(q, 4);
}

void QtCanvas::TextOut(int x, int y, std::string_view text) {
    const QFontMetrics& fm = metrics();
    const QString s = fromBytes(text);
    if (Brush.Style() == TBrushStyle::bsSolid)
        m_painter.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.ascent() + fm.descent()),
                           QColor::fromRgb(toQRgb(Brush.Color())));
    m_painter.setFont(m_qfont);
    m_painter.setPen(QColor::fromRgb(toQRgb(Font.Color)));
    m_painter.drawText(QPoint(x, y + fm.ascent()), s);
}

int QtCanvas::TextWidth(std::string_view text) {
    return metrics().horizontalAdvance(fromBytes(text));
}
