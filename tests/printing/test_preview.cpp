// The preview component: pages, navigation, zoom, margins, drawing sizes,
// and the on-screen sheet.

#include "GmPreview.h"
#include "PrintTestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>

namespace {

QImage blackPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return picture;
}

TEST(GmPreview, StartsWithOneBlankCurrentPageAtZoom100)
{
    TGmPreview preview;
    EXPECT_EQ(preview.GetNumPages(), 1);
    EXPECT_EQ(preview.GetCurrentPageNum(), 1);
    EXPECT_EQ(preview.GetZoom(), 100);
    EXPECT_TRUE(preview.Document().Page(1).items.empty());
    EXPECT_TRUE(preview.Footer().Visible);
    EXPECT_EQ(preview.Footer().CaptionCenter, QStringLiteral("Page {PAGE} of  {NUMPAGES}"));
    EXPECT_EQ(preview.Footer().Font.family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(preview.Footer().Font.pointSizeF(), 10.0);
    EXPECT_FALSE(preview.Header().Visible);
}

TEST(GmPreview, ClearLeavesOneBlankPageThatIsCurrent)
{
    TGmPreview preview;
    preview.GetCanvas()->Draw(10, 10, blackPicture(20, 20));
    preview.NewPage();
    preview.NewPage();
    ASSERT_EQ(preview.GetCurrentPageNum(), 3);
    preview.Clear();
    EXPECT_EQ(preview.GetNumPages(), 1);
    EXPECT_EQ(preview.GetCurrentPageNum(), 1);
    EXPECT_TRUE(preview.Document().Page(1).items.empty());
}

// Moves on a three-page document; a move to a page outside 1..3 keeps the
// current page.
TEST(GmPreview, NavigationOnThreePagesIgnoresMovesOutOfRange)
{
    using Move = std::function<void(TGmPreview&)>;
    const struct {
        int start;
        Move move;
        int expected;
        const char* comment;
    } cases[] = {
        {2, [](TGmPreview& p) { p.FirstPage(); }, 1, "First from the middle"},
        {2, [](TGmPreview& p) { p.LastPage(); }, 3, "Last from the middle"},
        {2, [](TGmPreview& p) { p.NextPage(); }, 3, "Next from 2"},
        {2, [](TGmPreview& p) { p.PrevPage(); }, 1, "Prev from 2"},
        {3, [](TGmPreview& p) { p.NextPage(); }, 3, "Next past the last page is ignored"},
        {1, [](TGmPreview& p) { p.PrevPage(); }, 1, "Prev before the first page is ignored"},
        {2, [](TGmPreview& p) { p.SetCurrentPageNum(3); }, 3, "jump to an existing page"},
        {2, [](TGmPreview& p) { p.SetCurrentPageNum(0); }, 2, "page 0 does not exist"},
        {2, [](TGmPreview& p) { p.SetCurrentPageNum(-3); }, 2, "negative page"},
        {2, [](TGmPreview& p) { p.SetCurrentPageNum(4); }, 2, "one past the last page"},
        {2, [](TGmPreview& p) { p.SetCurrentPageNum(INT_MIN); }, 2, "smallest int"},
        {2, [](TGmPreview& p) { p.SetCurrentPageNum(INT_MAX); }, 2, "largest int"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        TGmPreview preview;
        preview.NewPage();
        preview.NewPage();
        preview.SetCurrentPageNum(c.start);
        ASSERT_EQ(preview.GetCurrentPageNum(), c.start);
        c.move(preview);
        EXPECT_EQ(preview.GetCurrentPageNum(), c.expected) << "case " << i << ": " << c.comment;
        EXPECT_EQ(preview.GetNumPages(), 3) << "case " << i << ": " << c.comment;
    }
}

TEST(GmPreview, EveryMoveOnOnePageStaysOnIt)
{
    TGmPreview preview;
    preview.NextPage();
    preview.LastPage();
    preview.PrevPage();
    preview.SetCurrentPageNum(2);
    EXPECT_EQ(preview.GetCurrentPageNum(), 1);
}

TEST(GmPreview, CanvasDrawsOnTheCurrentPage)
{
    TGmPreview preview;
    preview.NewPage();
    preview.NewPage();
    preview.SetCurrentPageNum(2);
    preview.GetCanvas()->Draw(0, 0, blackPicture(4, 4));
    EXPECT_TRUE(preview.Document().Page(1).items.empty());
    EXPECT_EQ(preview.Document().Page(2).items.size(), 1u);
    EXPECT_TRUE(preview.Document().Page(3).items.empty());
}

TEST(GmPreview, ZoomInThirtyTimesFrom100StopsAt400)
{
    TGmPreview preview;
    for (int i = 0; i < 30; ++i)
        preview.SetZoom(preview.GetZoom() + TGmPreview::ZoomIncrement);
    EXPECT_EQ(preview.GetZoom(), 400);
}

TEST(GmPreview, SetZoomKeepsWithin5And400)
{
    const struct {
        int requested;
        int expected;
        const char* comment;
    } cases[] = {
        {0, 5, "zero goes to the smallest zoom"},
        {-10, 5, "negative"},
        {INT_MIN, 5, "smallest int"},
        {4, 5, "just below the smallest zoom"},
        {5, 5, "smallest zoom"},
        {250, 250, "inside the bounds, kept"},
        {400, 400, "largest zoom"},
        {401, 400, "just above the largest zoom"},
        {INT_MAX, 400, "largest int"},
    };
    for (const auto& c : cases) {
        TGmPreview preview;
        preview.SetZoom(c.requested);
        EXPECT_EQ(preview.GetZoom(), c.expected) << c.comment;
    }
}

TEST(GmPreview, TheSheetOnScreenGrowsWithTheZoom)
{
    TGmPreview preview;
    const int at100 = preview.widget()->width();
    preview.SetZoom(200);
    const int at200 = preview.widget()->width();
    preview.SetZoom(5);
    const int at5 = preview.widget()->width();
    // A4 is 210 mm wide: at 100 % and the screen's dots per inch.
    const double expected100 = 210.0 / 25.4 * preview.widget()->logicalDpiX();
    EXPECT_NEAR(at100, expected100, 30);   // plus the grey desk around the sheet
    EXPECT_NEAR(at200 - at100, expected100, 2);
    EXPECT_LT(at5, at100 / 4);
}

TEST(GmPreview, MarginsAreSetInMillimetres)
{
    TGmPreview preview;
    TGmMargins& margins = preview.GetMargins();
    for (TGmValue* value : {&margins.Left, &margins.Top, &margins.Right, &margins.Bottom})
        value->SetAsMillimeters(5.0);
    EXPECT_DOUBLE_EQ(preview.Document().Margins().Left.AsMillimeters(), 5.0);
    EXPECT_DOUBLE_EQ(preview.Document().Margins().Bottom.AsInches(), 5.0 / 25.4);

    // A length that is not one keeps the old value.
    for (double bad : {-1.0, std::nan(""), HUGE_VAL}) {
        EXPECT_THROW(margins.Top.SetAsMillimeters(bad), std::invalid_argument) << bad;
        EXPECT_DOUBLE_EQ(margins.Top.AsMillimeters(), 5.0) << bad;
    }
}

// A picture's size on paper: its pixels at 96 per inch, times the scale.
TEST(GmCanvas, DrawSizesPicturesAt96PixelsPerInch)
{
    const struct {
        int width, height;
        double x, y, scale;
        TGmUnit unit;
        double xMm, yMm, wMm, hMm;
        const char* comment;
    } cases[] = {
        {300, 150, 100, 100, 1.0, gmMillimeters, 100, 100, 79.375, 39.6875, "300 px = 300 * 25.4 / 96 mm"},
        {96, 48, 10, 20, 1.0, gmMillimeters, 10, 20, 25.4, 12.7, "96 px is one inch"},
        {96, 96, 1, 2, 2.0, gmInches, 25.4, 50.8, 50.8, 50.8, "scale 2 doubles; inches become mm"},
        {1, 1, 72, 0, 0.5, gmPoints, 25.4, 0, 25.4 / 192, 25.4 / 192, "72 pt is one inch"},
    };
    for (const auto& c : cases) {
        TGmPreview preview;
        preview.GetCanvas()->Draw(c.x, c.y, blackPicture(c.width, c.height), c.scale, c.unit);
        const auto& items = preview.Document().Page(1).items;
        ASSERT_EQ(items.size(), 1u) << c.comment;
        const auto& item = std::get<TGmPictureItem>(items.front());
        EXPECT_NEAR(item.xMm, c.xMm, 1e-9) << c.comment;
        EXPECT_NEAR(item.yMm, c.yMm, 1e-9) << c.comment;
        EXPECT_NEAR(item.wMm, c.wMm, 1e-9) << c.comment;
        EXPECT_NEAR(item.hMm, c.hMm, 1e-9) << c.comment;
    }
}

TEST(GmCanvas, DrawRefusesPositionsAndScalesThatAreNotNumbers)
{
    TGmPreview preview;
    TGmCanvas& canvas = *preview.GetCanvas();
    const QImage picture = blackPicture(10, 10);
    EXPECT_THROW(canvas.Draw(0, 0, picture, 0.0), std::invalid_argument);
    EXPECT_THROW(canvas.Draw(0, 0, picture, -1.0), std::invalid_argument);
    EXPECT_THROW(canvas.Draw(0, 0, picture, std::nan("")), std::invalid_argument);
    EXPECT_THROW(canvas.Draw(HUGE_VAL, 0, picture), std::invalid_argument);
    EXPECT_THROW(canvas.Draw(0, std::nan(""), picture), std::invalid_argument);
    EXPECT_THROW(canvas.Draw(0, 0, picture, 1e300), std::invalid_argument);
    EXPECT_THROW(canvas.Draw(1e300, 0, picture, 1.0, gmInches), std::invalid_argument);
    EXPECT_TRUE(preview.Document().Page(1).items.empty());
    // A null picture has nothing to draw.
    canvas.Draw(0, 0, QImage());
    EXPECT_TRUE(preview.Document().Page(1).items.empty());
}

TEST(GmDocument, FooterCaptionsFillThePlaceholders)
{
    const struct {
        const char* caption;
        int page, pages;
        const char* expected;
    } cases[] = {
        {"Page {PAGE} of  {NUMPAGES}", 1, 1, "Page 1 of  1"},
        {"Page {PAGE} of  {NUMPAGES}", 12, 345, "Page 12 of  345"},
        {"{PAGE}/{PAGE} {NUMPAGES}", 2, 3, "2/2 3"},     // every occurrence
        {"no placeholders", 2, 3, "no placeholders"},
        {"{page} {NUMPAGE}", 2, 3, "{page} {NUMPAGE}"},  // only the exact names
    };
    for (const auto& c : cases)
        EXPECT_EQ(GmFillCaption(QString::fromLatin1(c.caption), c.page, c.pages), QString::fromLatin1(c.expected))
            << c.caption;
}

// The sheet on screen carries the picture at its place on paper: at zoom 100
// the picture's corner is 100 mm from the sheet's corner at the screen's
// dots per inch, and it is 300 px * 25.4 / 96 mm wide.
TEST(GmPreview, SheetOnScreenShowsThePictureAtItsPlace)
{
    TGmPreview preview;
    preview.resize(1000, 1300);
    preview.GetCanvas()->Draw(100, 100, blackPicture(300, 120));
    const QImage shot = preview.widget()->grab().toImage();
    const double pixelsPerMm = preview.widget()->logicalDpiX() / 25.4;
    const int desk = 12;   // the grey border of TGmPageView
    // Look above the footer, inside the sheet.
    const QRect area(desk, desk, qRound(210 * pixelsPerMm), qRound(250 * pixelsPerMm));
    const QRect box = printtest::darkBox(shot, area);
    ASSERT_FALSE(box.isNull());
    EXPECT_NEAR(box.left() - desk, 100 * pixelsPerMm, 1.0);
    EXPECT_NEAR(box.top() - desk, 100 * pixelsPerMm, 1.0);
    EXPECT_NEAR(box.width(), 79.375 * pixelsPerMm, 1.5);
}

} // namespace
