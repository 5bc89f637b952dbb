// Drawing at the edges of the int range: inputs the engine fuzz target
// found, kept as plain tests (their raw inputs also sit in the fuzz seed
// corpus, replayed under the sanitizers).

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "Barcode.h"
#include "Canvas.h"
#include "Rotation.h"

namespace {

class RecordingCanvas : public TCanvas {
public:
    std::vector<std::array<TPoint, 4>> polygons;
    void Polygon(const std::array<TPoint, 4>& points) override { polygons.push_back(points); }
    void TextOut(int, int, std::string_view) override {}
    int TextWidth(std::string_view) override { return 0; }
};

TEST(ExtremeGeometry, RotatingTheSmallestIntSaturates) {
    // 180 degrees maps x to -x; -INT_MIN is one past INT_MAX and saturates.
    EXPECT_EQ(RotatePoint({INT_MIN, 0}, AngleRadians(180)), (TPoint{INT_MAX, 0}));
    // 90 degrees: (x, y) -> (y, -x) on a y-down canvas.
    EXPECT_EQ(RotatePoint({INT_MIN, INT_MIN}, AngleRadians(90)), (TPoint{INT_MIN, INT_MAX}));
}

TEST(ExtremeGeometry, HalfBarsOfATallBarcodeAreTwoFifthsOfIt) {
    // PostNet's short bars are two fifths of the height, truncated; a height
    // past INT_MAX / 2 must give that too, not a wrapped product.
    TKelBarcode barcode;
    barcode.SetTyp(bcCodePostNet);
    barcode.SetText("1");
    barcode.SetHeight(INT_MAX);
    RecordingCanvas canvas;
    barcode.DrawBarcode(canvas);
    ASSERT_FALSE(canvas.polygons.empty());
    std::vector<int> heights;
    for (const auto& p : canvas.polygons) heights.push_back(p[1].Y - p[0].Y);
    const int half = static_cast<int>(INT_MAX * 2LL / 5);   // 858993458
    EXPECT_NE(std::find(heights.begin(), heights.end(), half), heights.end());
    EXPECT_NE(std::find(heights.begin(), heights.end(), INT_MAX), heights.end());
    for (int h : heights) EXPECT_TRUE(h == half || h == INT_MAX) << h;
}

}  // namespace
