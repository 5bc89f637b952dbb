// render's output formats, each read back by a reader that is not ours:
// Qt's and djpeg's decoders, an XML parser, poppler's pdftoppm and
// pdftotext, and zbar/zxing on the pixels.

#include <gtest/gtest.h>

#include <QXmlStreamReader>
#include <array>
#include <map>

#include "CliSupport.h"
#include "JpegFacts.h"

using namespace clitest;
using namespace jpegfacts;

namespace {

struct SvgRect {
    double x, y, width, height;
    std::string fill;
};

// The <rect> elements with their fill and the x/y of the enclosing
// group's translation, read by Qt's XML stream parser.
std::vector<SvgRect> svgRects(const std::string& text, std::vector<std::string>* texts = nullptr) {
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    std::vector<std::pair<std::string, std::pair<double, double>>> groups;
    std::vector<SvgRect> rects;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QStringLiteral("g")) {
            std::string fill = groups.empty() ? "" : groups.back().first;
            std::pair<double, double> shift = groups.empty() ? std::pair{0.0, 0.0} : groups.back().second;
            const auto a = xml.attributes();
            if (a.hasAttribute("fill"))
                fill = a.value("fill").toString().toStdString();
            const QString transform = a.value("transform").toString();
            if (transform.startsWith("matrix(")) {
                const QStringList m = transform.mid(7).chopped(1).split(',');
                if (m.size() == 6)
                    shift = {m[4].toDouble(), m[5].toDouble()};
            }
            groups.push_back({fill, shift});
        } else if (xml.isEndElement() && xml.name() == QStringLiteral("g")) {
            groups.pop_back();
        } else if (xml.isStartElement() && xml.name() == QStringLiteral("rect")) {
            const auto a = xml.attributes();
            const auto shift = groups.empty() ? std::pair{0.0, 0.0} : groups.back().second;
            rects.push_back({a.value("x").toDouble() + shift.first, a.value("y").toDouble() + shift.second,
                             a.value("width").toDouble(), a.value("height").toDouble(),
                             groups.empty() ? "" : groups.back().first});
        } else if (texts && xml.isStartElement() && xml.name() == QStringLiteral("text")) {
            texts->push_back(xml.readElementText().toStdString());
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return rects;
}

}  // namespace

TEST(RenderOutputs, RasterFormatsOpenElsewhereAndDecode) {
    // Code 128 "HALVEX-42" with its quiet zone: zbar reads the file's own
    // pixels, no margin added by the test.  The JPEG is lossy, so it is
    // read as grey through djpeg's decoder as well as Qt's.
    TempFolder dir;
    for (const char* name : {"a.png", "a.bmp", "a.jpg"}) {
        SCOPED_TRACE(name);
        const Outcome run = cli({"render", "-t", "Code128B", "-v", "HALVEX-42", "--modul", "2", "--quiet-zone",
                             "-o", dir / name});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const QImage image(QString::fromStdString(dir / name));
        ASSERT_FALSE(image.isNull());
        // 10 + 11 x (start + 9 + check) + 13 + 10 modules (ISO/IEC 15417), 2 pixels each.
        EXPECT_EQ(image.width(), (10 + 11 * 11 + 13 + 10) * 2);
        const auto zbar = oracle::decodeZbar(toGray(image));
        ASSERT_TRUE(zbar.has_value());
        EXPECT_EQ(zbar->text, "HALVEX-42");
    }
    EXPECT_EQ(shell("djpeg -grayscale -outfile " + quoted(dir / "a.pgm") + " " + quoted(dir / "a.jpg")).exitCode, 0);
    const QImage viaDjpeg(QString::fromStdString(dir / "a.pgm"));
    ASSERT_FALSE(viaDjpeg.isNull());
    const auto zx = oracle::decodeZxing(toGray(viaDjpeg), ZXing::BarcodeFormat::Code128);
    ASSERT_TRUE(zx.has_value());
    EXPECT_EQ(zx->text, "HALVEX-42");
    // The BMP is 24 bits a pixel (file header + info header + BGR rows).
    const std::string bmp = slurp(dir / "a.bmp");
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24);
}

TEST(RenderOutputs, JpegIsBaselineFullColourWithQuality90Tables) {
    TempFolder dir;
    const Outcome run = cli({"render", "-t", "EAN13", "-v", "400638133393", "--fg", "#203080", "-o", dir / "c.jpg"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const JpegFacts facts = readJpegMarkers(slurp(dir / "c.jpg"));
    EXPECT_EQ(facts.sofMarker, 0xC0) << "SOF0 is baseline sequential DCT (T.81 table B.1)";
    EXPECT_EQ(facts.components, 3);
    ASSERT_EQ(facts.tables.count(0), 1u);
    ASSERT_EQ(facts.tables.count(1), 1u);
    EXPECT_EQ(facts.tables.at(0), scaledForQuality90(kLuminance));
    EXPECT_EQ(facts.tables.at(1), scaledForQuality90(kChrominance));
}

TEST(RenderOutputs, SvgBarsAreRectanglesWhereTheRasterHasThem) {
    // The same picture as PNG and SVG: every dark run of the PNG's top bar
    // row is one foreground rectangle of the SVG at the same x and width,
    // and the value is text.
    TempFolder dir;
    const std::vector<std::string> common = {"render", "-t", "Code39", "-v", "SVG1", "--modul", "3", "--quiet-zone"};
    auto png = common, svg = common;
    png.insert(png.end(), {"-o", dir / "s.png"});
    svg.insert(svg.end(), {"-o", dir / "s.svg"});
    ASSERT_EQ(cli(png).exitCode, 0);
    ASSERT_EQ(cli(svg).exitCode, 0);
    const QImage raster(QString::fromStdString(dir / "s.png"));
    ASSERT_FALSE(raster.isNull());
    const auto runs = darkRuns(raster, 10 * 3);  // the first row below the top quiet zone
    // Code 39: *SVG1* is 6 characters of 5 bars (ISO/IEC 16388).
    ASSERT_EQ(runs.size(), 30u);
    EXPECT_EQ(runs.front().first, 10 * 3) << "the quiet zone: 10 modules of 3 pixels";

    std::vector<std::string> texts;
    std::vector<SvgRect> bars;
    for (const SvgRect& r : svgRects(slurp(dir / "s.svg"), &texts))
        if (r.fill == "#000000")
            bars.push_back(r);
    ASSERT_EQ(bars.size(), runs.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        EXPECT_DOUBLE_EQ(bars[i].x, runs[i].first) << "bar " << i;
        EXPECT_DOUBLE_EQ(bars[i].width, runs[i].second) << "bar " << i;
        EXPECT_DOUBLE_EQ(bars[i].y, 3 * 10) << "bar " << i << " starts below the top quiet zone";
    }
    EXPECT_NE(std::find(texts.begin(), texts.end(), "SVG1"), texts.end());
}

TEST(RenderOutputs, PdfRastersAndDecodes) {
    // At --dpi 150 one picture pixel is one pdftoppm pixel at -r 150.
    TempFolder dir;
    const Outcome run = cli({"render", "-t", "EAN13", "-v", "4006381333931", "--modul", "2", "--quiet-zone", "--dpi",
                         "150", "--line1", "Pens", "-o", dir / "p.pdf"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(shell("pdftoppm -r 150 -gray -singlefile " + quoted(dir / "p.pdf") + " " + quoted(dir / "p")).exitCode,
              0);
    const QImage page(QString::fromStdString(dir / "p.pgm"));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), (11 + 95 + 7) * 2, 1);
    const auto zbar = oracle::decodeZbar(toGray(page));
    ASSERT_TRUE(zbar.has_value());
    EXPECT_EQ(zbar->text, "4006381333931");
    const Outcome text = shell("pdftotext " + quoted(dir / "p.pdf") + " -");
    EXPECT_NE(text.out.find("Pens"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("4006381333931"), std::string::npos) << text.out;
}

TEST(RenderOutputs, ModuleWidthFromMillimetres) {
    struct Row { const char* xdim; const char* dpi; int modul; bool warns; const char* comment; } rows[] = {
        {"0.33", "300", 4, false, "3.90 pixels round to 4: +2.6 %"},
        {"0.2", "300", 2, true, "2.36 pixels round to 2: -15.3 %"},
        {"0.254", "96", 1, false, "0.96 pixels round to 1: +4 %"},
        {"0.1", "96", 1, true, "0.38 pixels: at least 1 pixel, +164 %"},
    };
    TempFolder dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        const Outcome run = cli({"render", "-t", "Code128B", "-v", "X", "--no-text", "--x-dim", row.xdim, "--dpi",
                             row.dpi, "-o", dir / "x.png"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err.find("warning") != std::string::npos, row.warns) << run.err;
        const QImage image(QString::fromStdString(dir / "x.png"));
        // start + X + check = 3 x 11 + stop 13 modules
        EXPECT_EQ(image.width(), 46 * row.modul);
        EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, std::atof(row.dpi), 0.5);
    }
    const Outcome both = cli({"render", "-t", "Code128B", "-v", "X", "--x-dim", "0.3", "--dpi", "300", "--modul", "2",
                          "-o", dir / "y.png"});
    EXPECT_EQ(both.exitCode, 2);
    const Outcome huge = cli({"render", "-t", "Code128B", "-v", "X", "--x-dim", "10", "--dpi", "300", "-o", dir / "y.png"});
    EXPECT_EQ(huge.exitCode, 2);
    EXPECT_NE(huge.err.find("at most 49"), std::string::npos) << huge.err;
    EXPECT_FALSE(fs::exists(dir / "y.png"));
}

TEST(RenderOutputs, ColoursAndErrors) {
    TempFolder dir;
    const Outcome run = cli({"render", "-t", "Code128B", "-v", "C", "--fg", "navy", "--bg", "#FFFFCC", "-o", dir / "k.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage image(QString::fromStdString(dir / "k.png"));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x000080u) << "the start bar in navy (SVG colour name)";
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1) & 0xFFFFFF, 0xFFFFCCu);

    struct Row { std::vector<std::string> args; int exitCode; const char* message; const char* comment; } rows[] = {
        {{"--fg", "nocolour"}, 2, "--fg wants", "an unknown colour name"},
        {{"--fg", "white"}, 2, "same colour", "bars as light as the background"},
        {{"-o", "/nonexistent-folder/x.png"}, 1, "Cannot create file /nonexistent-folder/x.png", "no such folder"},
        {{"-o", dir / "x.gif"}, 2, ".png, .bmp, .jpg, .svg or .pdf", "an extension no writer takes"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        std::vector<std::string> args = {"render", "-t", "Code128B", "-v", "C"};
        if (row.args[0] != "-o")
            args.insert(args.end(), {"-o", dir / "e.png"});
        args.insert(args.end(), row.args.begin(), row.args.end());
        const Outcome r = cli(args);
        EXPECT_EQ(r.exitCode, row.exitCode);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir / "e.png"));
    EXPECT_FALSE(fs::exists(dir / "x.gif"));
}
