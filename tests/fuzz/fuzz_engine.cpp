// Arbitrary bytes as one barcode: a fixed header picks the type, checksum
// flags, module width, ratio, angle, height, position, text options and a
// width for SetWidth; the rest is the Text.  Whatever the values, the engine
// answers with a module string whose widths add up to GetWidth and draws one
// polygon per module, or it throws EBarcodeError; nothing else may happen.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "Barcode.h"
#include "Canvas.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// Reads fixed-size values off the front of the input; missing bytes read as 0.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    template <typename T>
    T take() {
        T value{};
        const std::size_t n = std::min(sizeof(T), size - at);
        std::memcpy(&value, data + at, n);
        at += n;
        return value;
    }
    std::string_view rest() const { return {reinterpret_cast<const char*>(data) + at, size - at}; }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

// A 16 x 16 raster that fills each polygon's bounding box, clipped to the
// raster, as a toolkit canvas would clip what lies off the device.
class ClippingCanvas : public TCanvas {
public:
    static constexpr int Side = 16;
    int polygons = 0;
    int texts = 0;
    std::uint32_t pixels[Side * Side] = {};

    void Polygon(const std::array<TPoint, 4>& points) override {
        ++polygons;
        long long x0 = LLONG_MAX, y0 = LLONG_MAX, x1 = LLONG_MIN, y1 = LLONG_MIN;
        for (const TPoint& p : points) {
            x0 = std::min<long long>(x0, p.X);
            y0 = std::min<long long>(y0, p.Y);
            x1 = std::max<long long>(x1, p.X);
            y1 = std::max<long long>(y1, p.Y);
        }
        x0 = std::max(x0, 0LL);
        y0 = std::max(y0, 0LL);
        x1 = std::min(x1, Side - 1LL);
        y1 = std::min(y1, Side - 1LL);
        for (long long y = y0; y <= y1; ++y)
            for (long long x = x0; x <= x1; ++x)
                pixels[y * Side + x] = Brush.Color();
    }
    void TextOut(int, int, std::string_view) override { ++texts; }
    int TextWidth(std::string_view text) override {
        return static_cast<int>(std::min<std::size_t>(text.size() * 7, INT_MAX));
    }
};

int saturated(long long v) {
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    const auto typ = in.take<std::uint8_t>();
    const auto flags = in.take<std::uint8_t>();
    const auto modul = in.take<std::int32_t>();
    const auto ratio = in.take<double>();
    const auto angle = in.take<double>();
    const auto height = in.take<std::int32_t>();
    const auto left = in.take<std::int32_t>();
    const auto top = in.take<std::int32_t>();
    const auto width = in.take<std::int32_t>();
    const auto fontHeight = in.take<std::int32_t>();

    TKelBarcode barcode;
    barcode.SetTyp(static_cast<TBarcodeType>(typ));
    barcode.SetCheckSum(flags & 1);
    barcode.SetCheckSumMethod(static_cast<TCheckSumMethod>((flags >> 1) & 1));
    barcode.SetShowText(static_cast<TBarcodeOption>((flags >> 2) & 3));
    barcode.SetShowTextPosition(static_cast<TShowTextPosition>((flags >> 4) & 7));
    barcode.SetModul(modul);
    barcode.SetRatio(ratio);
    barcode.SetAngle(angle);
    barcode.SetHeight(height);
    barcode.SetLeft(left);
    barcode.SetTop(top);
    TFont font;
    font.Height = fontHeight;
    barcode.SetShowTextFont(font);
    barcode.SetText(in.rest());

    try {
        if (flags & 0x80)
            barcode.SetWidth(width);
        const std::string modules = barcode.MakeData();
        // Text may be normalised by the first encoding; a second one agrees.
        check(barcode.MakeData() == modules);
        long long sum = 0;
        for (char code : modules) {
            int w = 0;
            TBarLineType line;
            barcode.OneBarProps(code, w, line);   // every character is a module code
            sum += w;
        }
        check(barcode.GetWidth() == saturated(sum));

        ClippingCanvas canvas;
        canvas.Font.Name = "canvas";
        canvas.Pen.Width = 3;
        const TFont fontBefore = canvas.Font;
        const TPen penBefore = canvas.Pen;
        barcode.DrawBarcode(canvas);
        check(canvas.polygons == static_cast<long long>(modules.size()));
        check(canvas.Font == fontBefore && canvas.Pen == penBefore);
    } catch (const EBarcodeError& error) {
        check(std::strlen(error.what()) > 0);
    }
    return 0;
}
