#pragma once
// The raster canvas the engine draws on: a font, a pen and a brush as plain
// values, and three drawing calls.  A toolkit supplies the pixels (see
// toolkit/QtCanvas.h); tests may record the calls instead.  Saving and
// restoring the drawing state is plain assignment of Font, Pen and Brush.

#include <array>
#include <cstdint>
#include <string_view>

#include "Barcode.h"
#include "Font.h"

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    bool operator==(const TPen&) const = default;
};

enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

// Setting a colour makes a clear brush solid again, so that a caller who
// only picks a colour always gets a filled background.
class TBrush {
public:
    TColor Color() const { return m_color; }
    void SetColor(TColor color) {
        m_color = color;
        m_style = TBrushStyle::bsSolid;
    }
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle style) { m_style = style; }
    bool operator==(const TBrush&) const = default;

private:
    TColor m_color = clWhite;
    TBrushStyle m_style = TBrushStyle::bsSolid;
};

class TCanvas {
public:
    virtual ~TCanvas() = default;

    TFont Font;
    TPen Pen;
    TBrush Brush;

    // Fills the quadrilateral with the brush (unless clear) and outlines it
    // with the pen; the outline includes both end points of every edge.
    virtual void Polygon(const std::array<TPoint, 4>& points) = 0;
    // Writes text in Font with its top-left corner at (x, y); a solid brush
    // paints the text's box first.  Text is bytes of the single-byte code page.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    // Advance width of text in Font, in pixels.
    virtual int TextWidth(std::string_view text) = 0;
};
