#pragma once
// TCanvas over a QPainter on a QImage.  Drawing is aliased and follows the
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

#include "Canvas.h"

class QtCanvas : public TCanvas {
public:
    // The image must outlive the canvas and be of a format QPainter paints on.
    explicit QtCanvas(QImage& image);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    void Polygon(const std::array<TPoint, 4>& points) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;

private:
    // The QFont and metrics of the current Font, rebuilt only when it changes.
    const QFontMetrics& metrics();

    QPainter m_painter;
    std::optional<TFont> m_mappedFont;
    QFont m_qfont;
    std::optional<QFontMetrics> m_metrics;
};
