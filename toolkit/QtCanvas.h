#pragma once
// TCanvas over a QPainter on a QImage, or on any paint device (an SVG or
// PDF writer) through a painter the caller owns.  Drawing is aliased and follows the
// raster rules the engine's geometry is written for: a polygon's outline is
// drawn with the pen, end points included, and the inside is filled with the
// brush, so an axis-parallel bar with corners (x, 0) and (x + w - 1, h)
// covers the columns x .. x + w - 1 and the rows 0 .. h.  TextOut paints
// the text's box (advance width x ascent + descent) in a solid brush's colour
// before the characters.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <optional>
#include <utility>

#include "Canvas.h"

class QtCanvas : public TCanvas {
public:
    // The image must outlive the canvas and be of a format QPainter paints on.
    explicit QtCanvas(QImage& image);
    // Draws through `painter`, which must outlive the canvas and keeps its
    // transformation.  Bars may be completed only when the canvas draws
    // something else or ends: use the painter itself (to paint or to
    // change its state) only after the canvas is gone.  On a vector device bars become exact rectangles and
    // rotated bars plain polygons, without the raster corner touch-ups.
    enum class Device { Raster, Vector };
    QtCanvas(QPainter& painter, Device device);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    void Polygon(const std::array<TPoint, 4>& points) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;

    // Two-colour pictures: every black the engine asks for is painted in
    // `foreground` and every white in `background`; other colours stay.
    void setColours(TColor foreground, TColor background);

private:
    QColor colour(TColor c) const;
    // `c` with black and white mapped to the two colours.
    TColor mapped(TColor c) const;
    // Fills the rectangle's pixels straight into a plain 32-bit image;
    // false when the painter's device or state needs QPainter to do it.
    // Rows below the first of a run of bars are completed by finishBars,
    // which every other drawing calls first, as does the destructor.
    bool fillDirectly(int left, int top, int right, int bottom, QRgb pixel);
    void finishBars();
    // The QFont and metrics of the current Font, rebuilt only when it changes.
    const QFontMetrics& metrics();
    // The current font's advance width of `text`; the last one is kept.
    int advance(const QString& text);

    std::optional<QPainter> m_ownPainter;
    QPainter* m_painter;
    Device m_device = Device::Raster;
    TColor m_foreground = clBlack;
    TColor m_background = clWhite;
    std::optional<TFont> m_mappedFont;
    QFont m_qfont;
    std::optional<QFontMetrics> m_metrics;
    std::optional<std::pair<QString, int>> m_measured;
    // Side-by-side bars of equal rows [top, bottom], painted so far in row
    // `top` only, columns [left, right] of the image (the painter's shift
    // applied).
    struct BarRun {
        QImage* image;
        long long shiftX, shiftY;
        int left, right, top, bottom;
    };
    std::optional<BarRun> m_run;
};
