#include "PictureOptions.h"

#include <QColor>
#include <QString>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "Barcode.h"
#include "ImageWriter.h"
#include "VectorPicture.h"

namespace {

// A font may be at most this many pixels high on the command line; larger
// ones could only make pictures beyond the composition's limits.
constexpr int kMaxFontPixels = 10000;
constexpr int kMaxModul = 49;
constexpr double kMillimetresPerInch = 25.4;

// PNG files are written with zlib level 1: barcode pictures are long runs of
// two colours, which the fastest level packs nearly as tightly as level 9.
constexpr int kPngCompression = 1;

[[noreturn]] void usage(const std::string& option, const std::string& message) {
    throw CLI::ValidationError(option, message);
}

// "FACE:PIXELS", e.g. "Arial:16", as a font of that face and character
// height; nullopt when the text is not of that form.
std::optional<TFont> parseFont(const std::string& text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    const char* first = text.data() + colon + 1;
    const char* last = text.data() + text.size();
    int pixels = 0;
    const auto [end, error] = std::from_chars(first, last, pixels);
    if (error != std::errc() || end != last || first == last || pixels < 1 || pixels > kMaxFontPixels)
        return std::nullopt;
    TFont font = designTextFont();
    font.Name = text.substr(0, colon);
    font.Height = -pixels;
    return font;
}

// "#RRGGBB", "#RGB" or a colour name of SVG ("navy"), as 0xRRGGBB.
std::optional<TColor> parseColour(const std::string& text) {
    const QColor colour(QString::fromStdString(text));
    if (text.empty() || !colour.isValid())
        return std::nullopt;
    return static_cast<TColor>(colour.rgb() & 0xFFFFFFu);
}

std::string fixed(double v, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

}  // namespace

std::optional<OutputFormat> outputFormatOf(const std::string& path) {
    std::string lower;
    for (char c : path)
        lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    const auto endsWith = [&](const char* ext) {
        const std::string e(ext);
        return lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0;
    };
    if (endsWith(".png"))
        return OutputFormat::Png;
    if (endsWith(".bmp"))
        return OutputFormat::Bmp;
    if (endsWith(".jpg"))
        return OutputFormat::Jpeg;
    if (endsWith(".svg"))
        return OutputFormat::Svg;
    if (endsWith(".pdf"))
        return OutputFormat::Pdf;
    return std::nullopt;
}

void addPictureOptions(CLI::App& command, PictureOptions& o) {
    command.add_option("-t,--type", o.type, "Symbology, e.g. Code128B, EAN13 or bcCode39 (see: halvex-barcode types)")
        ->required()
        ->type_name("NAME");
    command.add_option("--height-mm", o.heightMM, "Bar height in millimetres, 2.83 pixels each")
        ->type_name("MM")
        ->capture_default_str();
    command.add_flag("--no-text", o.noText, "Leave out the human-readable value under the bars");
    command.add_option("--line1", o.line1, "First free text line under the barcode");
    command.add_option("--line2", o.line2, "Second free text line under the barcode");
    command.add_option("--value-font", o.valueFont, "Font of the value as FACE:PIXELS (default MS Sans Serif:16)");
    command.add_option("--line1-font", o.line1Font, "Font of line 1 as FACE:PIXELS");
    command.add_option("--line2-font", o.line2Font, "Font of line 2 as FACE:PIXELS");
    command.add_flag("--checksum", o.checksum, "Add the symbology's optional check characters");
    command.add_option("--angle", o.angle, "Rotate by DEGREES counter-clockwise; the picture fits the rotated bars")
        ->type_name("DEGREES")
        ->capture_default_str()
        ->check(CLI::Range(-1e6, 1e6));
    CLI::Option* modul = command.add_option("--modul", o.modul, "Narrow module width in pixels, 1 to 49")
        ->type_name("PIXELS")
        ->capture_default_str()
        ->check(CLI::Range(1, kMaxModul));
    CLI::Option* dpi = command.add_option("--dpi", o.dpi,
                                          "Pixels per inch: recorded in the file, and the scale of SVG and PDF")
        ->type_name("N")
        ->capture_default_str()
        ->check(CLI::Range(1, 65535));
    command.add_option("--x-dim", o.xDimMM,
                       "Narrow module width in millimetres at --dpi, rounded to whole pixels (a warning when "
                       "that changes it by more than 10 %)")
        ->type_name("MM")
        ->needs(dpi)
        ->excludes(modul)
        ->check(CLI::Range(1e-6, 1e6));
    command.add_flag("-q,--quiet-zone", o.quietZone,
                     "Add the symbology's standard quiet zone around the picture");
    command.add_option("--fg", o.foreground, "Colour of bars and text: #RRGGBB or a name such as navy")
        ->capture_default_str();
    command.add_option("--bg", o.background, "Colour of the background and quiet zone")->capture_default_str();
}

PicturePlan planPicture(const PictureOptions& o, std::string& warning) {
    PicturePlan plan;
    PictureInputs& inputs = plan.inputs;
    const auto type = BarcodeTypeByName(o.type);
    if (!type)
        usage("--type", "unknown barcode type '" + o.type + "' (see: halvex-barcode types)");
    inputs.symbology = *type;
    inputs.heightMM = o.heightMM;
    inputs.display = !o.noText;
    inputs.line1 = o.line1;
    inputs.line2 = o.line2;
    inputs.checksum = o.checksum;
    inputs.angle = o.angle;
    inputs.modul = o.modul;
    inputs.quietZone = o.quietZone;
    plan.dpi = o.dpi;

    struct FontOption { const std::string& text; TFont& font; const char* name; } fonts[] = {
        {o.valueFont, inputs.valueFont, "--value-font"},
        {o.line1Font, inputs.line1Font, "--line1-font"},
        {o.line2Font, inputs.line2Font, "--line2-font"},
    };
    for (FontOption& f : fonts) {
        if (f.text.empty())
            continue;
        const auto font = parseFont(f.text);
        if (!font)
            usage(f.name, std::string(f.name) + " wants FACE:PIXELS with 1 to " + std::to_string(kMaxFontPixels) +
                              " pixels, not '" + f.text + "'");
        f.font = *font;
    }

    const auto fg = parseColour(o.foreground);
    if (!fg)
        usage("--fg", "--fg wants #RRGGBB or a colour name, not '" + o.foreground + "'");
    const auto bg = parseColour(o.background);
    if (!bg)
        usage("--bg", "--bg wants #RRGGBB or a colour name, not '" + o.background + "'");
    if (*fg == *bg)
        usage("--fg", "--fg and --bg are the same colour: the bars would not show");
    inputs.foreground = *fg;
    inputs.background = *bg;

    if (o.xDimMM > 0) {
        const double exact = o.xDimMM * o.dpi / kMillimetresPerInch;
        const double rounded = std::nearbyint(exact);
        if (rounded > kMaxModul)
            usage("--x-dim", "--x-dim " + fixed(o.xDimMM, 3) + " mm at " + std::to_string(o.dpi) + " dpi is " +
                                 fixed(exact, 2) + " pixels; a module is at most " + std::to_string(kMaxModul) +
                                 " pixels");
        inputs.modul = std::max(1, static_cast<int>(rounded));
        const double change = (inputs.modul - exact) / exact;
        if (std::fabs(change) > 0.10)
            warning = "--x-dim " + fixed(o.xDimMM, 3) + " mm at " + std::to_string(o.dpi) + " dpi is " +
                      fixed(exact, 2) + " pixels; drawn with " + std::to_string(inputs.modul) + " (" +
                      fixed(inputs.modul * kMillimetresPerInch / o.dpi, 3) + " mm, " + (change > 0 ? "+" : "") +
                      fixed(change * 100, 1) + " %)";
    }
    return plan;
}

std::string encodePicture(const PicturePlan& plan, OutputFormat format) {
    TKelBarcode barcode;
    setUpAsWindowBarcode(barcode);
    switch (format) {
    case OutputFormat::Svg: return encodeSvg(plan.inputs, barcode, plan.dpi);
    case OutputFormat::Pdf: return encodePdf(plan.inputs, barcode, plan.dpi);
    default: break;
    }
    QImage picture = composePicture(plan.inputs, barcode);
    const int dotsPerMetre = static_cast<int>(std::nearbyint(plan.dpi / 0.0254));
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    switch (format) {
    case OutputFormat::Bmp: return encodeBmp(picture);
    case OutputFormat::Jpeg: return encodeJpeg(picture, 90);
    default: return encodePng(picture, kPngCompression);
    }
}

ScanResult verifyPicture(const PicturePlan& plan, OutputFormat format, const std::string& path) {
    TKelBarcode barcode;
    setUpAsWindowBarcode(barcode);
    // Drawing sets the value shown as the engine leaves it (padding and all).
    QImage picture = composePicture(plan.inputs, barcode);
    if (format != OutputFormat::Svg && format != OutputFormat::Pdf) {
        // A file that does not read back does not scan either.
        QImage written;
        picture = written.load(QString::fromStdString(path)) ? written : QImage();
    }
    ScanSubject subject;
    subject.symbology = plan.inputs.symbology;
    subject.typed = plan.inputs.value;
    subject.shown = barcode.Text();
    subject.checksum = barcode.Checksum();
    subject.checkSumMethod = barcode.CheckSumMethod();
    subject.modul = plan.inputs.modul;
    subject.angle = plan.inputs.angle;
    subject.background = plan.inputs.background;
    return checkScan(picture, subject);
}

std::unique_ptr<QGuiApplication> ensureGuiApplication() {
    if (QGuiApplication::instance())
        return nullptr;
    // Qt's notes about the session (no runtime folder, no D-Bus) mean
    // nothing to a command-line user; only its errors are passed on.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "halvex-barcode: %s\n", message.toLocal8Bit().constData());
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "halvex-barcode";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}
