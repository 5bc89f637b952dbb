// Drawing of the bars (at any angle) and of the human-readable text.

#include <climits>
#include <cmath>

#include "Barcode.h"
#include "Canvas.h"
#include "Rotation.h"

namespace {

// pi to the 64-bit mantissa of the x87 extended format.
constexpr long double kPi = 3.141592653589793238462643383279502884L;

// Nearest integer, halves to even; saturates instead of overflowing so that
// absurd sizes or angles cannot produce undefined conversions.
int R(long double v) {
    if (std::isnan(v))
        return 0;
    const long double r = std::nearbyintl(v);
    if (r >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    if (r <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(r);
}

int clampToInt(long long v) {
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// Puts the canvas's drawing state back when it goes out of scope, on the
// normal path and when drawing throws alike.
class CanvasStateGuard {
public:
    explicit CanvasStateGuard(TCanvas& canvas)
        : m_canvas(canvas), m_font(canvas.Font), m_pen(canvas.Pen), m_brush(canvas.Brush) {}
    ~CanvasStateGuard() {
        m_canvas.Font = m_font;
        m_canvas.Pen = m_pen;
        m_canvas.Brush = m_brush;
    }
    CanvasStateGuard(const CanvasStateGuard&) = delete;
    CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

private:
    TCanvas& m_canvas;
    TFont m_font;
    TPen m_pen;
    TBrush m_brush;
};

class CanvasFontGuard {
public:
    explicit CanvasFontGuard(TCanvas& canvas) : m_canvas(canvas), m_font(canvas.Font) {}
    ~CanvasFontGuard() { m_canvas.Font = m_font; }
    CanvasFontGuard(const CanvasFontGuard&) = delete;
    CanvasFontGuard& operator=(const CanvasFontGuard&) = delete;

private:
    TCanvas& m_canvas;
    TFont m_font;
};

}  // namespace

double AngleRadians(double degrees) {
    return static_cast<double>(static_cast<long double>(degrees) / 180.0L * kPi);
}

TPoint RotatePoint(TPoint p, double theta) {
    // Upright drawing is the common case; sin 0 = 0 and cos 0 = 1 give the
    // point back exactly, without the long double trigonometry.
    if (theta == 0.0)
        return p;
    const long double s = std::sin(static_cast<long double>(theta));
    const long double c = std::cos(static_cast<long double>(theta));
    // In extended precision before the sign change: -INT_MIN is no int.
    const long double x = p.X;
    const long double y = p.Y;
    return {R(x * c + y * s), R(-x * s + y * c)};
}

TPoint TranslatePoint(TPoint p, TPoint q) {
    return {clampToInt(static_cast<long long>(p.X) + q.X), clampToInt(static_cast<long long>(p.Y) + q.Y)};
}

TPoint RotatedOrigin(TPoint origin, TPoint size, double theta) {
    const long double s = std::sin(static_cast<long double>(theta));
    const long double c = std::cos(static_cast<long double>(theta));
    const long double w = size.X;
    const long double h = size.Y;
    long long dx = 0;
    long long dy = 0;
    if (s >= 0 && c >= 0) {
        dy = R(w * s);
    } else if (s >= 0) {
        dx = -static_cast<long long>(R(w * c));
        dy = R(w * s - h * c);
    } else if (c >= 0) {
        dx = -static_cast<long long>(R(h * s));
    } else {
        dx = -static_cast<long long>(R(w * c)) - R(h * s);
        dy = -static_cast<long long>(R(h * c));
    }
    return {clampToInt(origin.X + dx), clampToInt(origin.Y + dy)};
}

void TKelBarcode::DrawBarcode(TCanvas& canvas) {
    // Encoding errors leave before the canvas is touched.
    const std::string data = MakeData();
    CanvasStateGuard restore(canvas);
    DoLines(data, canvas);
    if (ShowText() != bcoNone)
        DrawText(canvas);
}

void TKelBarcode::DoLines(std::string_view data, TCanvas& canvas) {
    const double theta = AngleRadians(Angle());
    const TPoint origin = RotatedOrigin({Left(), Top()}, {GetWidth(), Height()}, theta);
    canvas.Pen.Width = 1;
    long long x = 0;
    for (char code : data) {
        int w = 0;
        TBarLineType kind;
        OneBarProps(code, w, kind);
        const TColor colour = kind == TBarLineType::white ? Color() : ColorBar();
        canvas.Pen.Color = colour;
        canvas.Brush.SetColor(colour);
        // Two fifths computed in 64 bits: a height past INT_MAX / 2 must not wrap.
        const int h = kind == TBarLineType::black_half ? static_cast<int>(Height() * 2LL / 5) : Height();
        const int left = clampToInt(x);
        const int right = clampToInt(x + w - 1);
        const std::array<TPoint, 4> local = {{{left, 0}, {left, h}, {right, h}, {right, 0}}};
        std::array<TPoint, 4> points;
        for (std::size_t i = 0; i < local.size(); ++i)
            points[i] = TranslatePoint(RotatePoint(local[i], theta), origin);
        canvas.Polygon(points);
        x += w;
    }
}

void TKelBarcode::DrawText(TCanvas& canvas) {
    CanvasFontGuard restore(canvas);
    canvas.Font = ShowTextFont();
    canvas.Pen.Color = canvas.Font.Color;
    canvas.Brush.SetColor(clWhite);

    // W first: encoding may write the normalised value back into Text, and
    // the width must be measured on the text that is drawn.
    const TShowTextPosition position = ShowTextPosition();
    const bool needsWidth = position != stpTopLeft && position != stpBottomLeft;
    const long long w = needsWidth ? GetWidth() : 0;
    const long long tw = canvas.TextWidth(Text());
    const long long left = Left();
    const long long below = static_cast<long long>(Top()) + Height() + 1;
    long long x = left;
    long long y = Top();
    switch (position) {
    case stpTopLeft: break;
    case stpTopRight: x = left + w - tw; break;
    case stpTopCenter: x = left + (w - tw) / 2; break;
    case stpBottomLeft: y = below; break;
    case stpBottomRight: x = left + w - tw; y = below; break;
    case stpBottomCenter: x = left + (w - tw) / 2; y = below; break;
    }
    if (ShowText() == bcoCode || ShowText() == bcoBoth)
        canvas.TextOut(clampToInt(x), clampToInt(y), Text());
    if (ShowText() == bcoTyp || ShowText() == bcoBoth) {
        const long long nameY = Top() + static_cast<long long>(R(2.5L * canvas.Font.Height));
        canvas.TextOut(Left(), clampToInt(nameY), GetTypText());
    }
}
