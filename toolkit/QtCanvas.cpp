#include "QtCanvas.h"

#include <QPaintEngine>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <QPoint>
#include <QString>

#include "FontMapping.h"

namespace {

QString fromBytes(std::string_view text) {
    // Bytes of the single-byte code page; Latin-1 keeps every byte value.
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Shifts beyond this are no picture's; they are left to QPainter.
constexpr double kMaxShift = 1 << 20;

}  // namespace

QtCanvas::QtCanvas(QImage& image) : m_ownPainter(std::in_place, &image), m_painter(&*m_ownPainter) {
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, false);
}

QtCanvas::QtCanvas(QPainter& painter, Device device) : m_painter(&painter), m_device(device) {
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, false);
}

void QtCanvas::setColours(TColor foreground, TColor background) {
    m_foreground = foreground;
    m_background = background;
}

TColor QtCanvas::mapped(TColor c) const {
    if (c == clBlack)
        return m_foreground;
    if (c == clWhite)
        return m_background;
    return c;
}

QColor QtCanvas::colour(TColor c) const {
    return QColor::fromRgb(toQRgb(mapped(c)));
}

QtCanvas::~QtCanvas() {
    finishBars();
}

const QFontMetrics& QtCanvas::metrics() {
    if (!m_mappedFont || !(*m_mappedFont == Font)) {
        m_qfont = toQFont(Font);
        m_metrics.emplace(m_qfont);
        m_mappedFont = Font;
        m_measured.reset();
    }
    return *m_metrics;
}

int QtCanvas::advance(const QString& text) {
    // The engine measures the value and then draws it with its box, which
    // needs the same width again; shaping it once is enough.
    const QFontMetrics& fm = metrics();
    if (!m_measured || m_measured->first != text)
        m_measured.emplace(text, fm.horizontalAdvance(text));
    return m_measured->second;
}

bool QtCanvas::fillDirectly(int left, int top, int right, int bottom, QRgb pixel) {
    // Batches draw thousands of bars; QPainter's general fill costs some
    // thousand instructions a call.  On a plain 32-bit image with no
    // transformation beyond a shift by whole pixels and no clipping the same
    // pixels are written here.
    if (qAlpha(pixel) != 255)
        return false;
    // The engine draws a symbol's bars left to right, side by side and
    // mostly of one height.  Such a run is painted in its first row only;
    // the other rows are copies of it, made when the run ends.  The
    // painter's device and state were checked at the run's first bar, and
    // only this canvas uses the painter while it lives.
    if (m_run) {
        const BarRun& run = *m_run;
        const long long x0 = std::max<long long>(left + run.shiftX, 0);
        const long long x1 = std::min<long long>(right + run.shiftX, run.image->width() - 1);
        const long long y0 = std::max<long long>(top + run.shiftY, 0);
        const long long y1 = std::min<long long>(bottom + run.shiftY, run.image->height() - 1);
        if (x0 == run.right + 1 && x0 <= x1 && y0 == run.top && y1 == run.bottom) {
            auto* row = reinterpret_cast<QRgb*>(run.image->bits() + run.image->bytesPerLine() * y0);
            std::fill(row + x0, row + x1 + 1, pixel);
            m_run->right = static_cast<int>(x1);
            return true;
        }
        finishBars();
    }
    if (m_device != Device::Raster || m_painter->paintEngine() == nullptr ||
        m_painter->paintEngine()->type() != QPaintEngine::Raster)
        return false;
    QPaintDevice* device = m_painter->device();
    if (device == nullptr || device->devType() != QInternal::Image)
        return false;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return false;
    if (m_painter->hasClipping() || m_painter->compositionMode() != QPainter::CompositionMode_SourceOver ||
        m_painter->opacity() != 1.0)
        return false;
    const QTransform& transform = m_painter->worldTransform();
    if (transform.type() > QTransform::TxTranslate)
        return false;
    const double dx = transform.dx();
    const double dy = transform.dy();
    if (dx != std::trunc(dx) || dy != std::trunc(dy) || std::fabs(dx) > kMaxShift || std::fabs(dy) > kMaxShift)
        return false;
    const long long shiftX = static_cast<long long>(dx);
    const long long shiftY = static_cast<long long>(dy);
    const int x0 = static_cast<int>(std::max<long long>(left + shiftX, 0));
    const int x1 = static_cast<int>(std::min<long long>(right + shiftX, image->width() - 1));
    const int y0 = static_cast<int>(std::max<long long>(top + shiftY, 0));
    const int y1 = static_cast<int>(std::min<long long>(bottom + shiftY, image->height() - 1));
    if (x0 > x1 || y0 > y1)
        return true;
    auto* row = reinterpret_cast<QRgb*>(image->bits() + image->bytesPerLine() * y0);
    std::fill(row + x0, row + x1 + 1, pixel);
    m_run = BarRun{image, shiftX, shiftY, x0, x1, y0, y1};
    return true;
}

void QtCanvas::finishBars() {
    if (!m_run)
        return;
    const BarRun run = *m_run;
    m_run.reset();
    uchar* bits = run.image->bits();
    const qsizetype stride = run.image->bytesPerLine();
    const uchar* first = bits + stride * run.top + sizeof(QRgb) * run.left;
    const std::size_t bytes = sizeof(QRgb) * (static_cast<std::size_t>(run.right) - run.left + 1);
    for (int y = run.top + 1; y <= run.bottom; ++y)
        std::memcpy(bits + stride * y + sizeof(QRgb) * run.left, first, bytes);
}

void QtCanvas::Polygon(const std::array<TPoint, 4>& points) {
    // An upright bar outlined in its own fill colour covers exactly the
    // pixels from its first to its last corner: one filled rectangle, the
    // same pixels at a fraction of the cost, and an exact rectangle in a
    // vector file.
    const bool upright = points[0].X == points[1].X && points[2].X == points[3].X &&
                         points[0].Y == points[3].Y && points[1].Y == points[2].Y;
    if (upright && Pen.Width == 1 && Brush.Style() == TBrushStyle::bsSolid && Pen.Color == Brush.Color()) {
        // A vector picture starts filled with the background, so spaces of
        // that colour need no rectangles of their own.
        if (m_device == Device::Vector && colour(Pen.Color) == colour(clWhite))
            return;
        const int left = std::min(points[0].X, points[2].X);
        const int right = std::max(points[0].X, points[2].X);
        const int top = std::min(points[0].Y, points[1].Y);
        const int bottom = std::max(points[0].Y, points[1].Y);
        if (!fillDirectly(left, top, right, bottom, toQRgb(mapped(Pen.Color)))) {
            finishBars();
            m_painter->fillRect(QRectF(left, top, double(right) - left + 1, double(bottom) - top + 1),
                                colour(Pen.Color));
        }
        return;
    }
    finishBars();
    if (Pen.Width > 0) {
        QPen pen{colour(Pen.Color)};
        pen.setWidth(Pen.Width);
        pen.setCosmetic(Pen.Width == 1);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        m_painter->setPen(pen);
    } else {
        m_painter->setPen(Qt::NoPen);
    }
    if (Brush.Style() == TBrushStyle::bsSolid)
        m_painter->setBrush(colour(Brush.Color()));
    else
        m_painter->setBrush(Qt::NoBrush);
    const QPoint q[4] = {{points[0].X, points[0].Y},
                         {points[1].X, points[1].Y},
                         {points[2].X, points[2].Y},
                         {points[3].X, points[3].Y}};
    m_painter->drawPolygon(q, 4);
    // The outline passes through every corner, but Qt's slanted cosmetic
    // lines may leave a corner pixel out; a rotated bar's extreme corner
    // is where the picture's edge is, so paint the corners explicitly.
    if (Pen.Width > 0 && m_device == Device::Raster)
        m_painter->drawPoints(q, 4);
}

void QtCanvas::TextOut(int x, int y, std::string_view text) {
    finishBars();
    const QFontMetrics& fm = metrics();
    const QString s = fromBytes(text);
    if (Brush.Style() == TBrushStyle::bsSolid)
        m_painter->fillRect(QRect(x, y, advance(s), fm.ascent() + fm.descent()),
                            colour(Brush.Color()));
    m_painter->setFont(m_qfont);
    m_painter->setPen(colour(Font.Color));
    m_painter->drawText(QPoint(x, y + fm.ascent()), s);
}

int QtCanvas::TextWidth(std::string_view text) {
    return advance(fromBytes(text));
}
