// halvex-barcode render: the main window's picture, written as PNG or BMP.

#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <QString>
#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "Barcode.h"
#include "Commands.h"
#include "Composition.h"

namespace {

struct RenderOptions {
    std::string type;
    std::string value;
    int heightMM = 20;
    bool noText = false;
    std::string line1;
    std::string line2;
    std::string valueFont;
    std::string line1Font;
    std::string line2Font;
    bool checksum = false;
    double angle = 0.0;
    int modul = 1;
    std::string output;
};

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

// A font may be at most this many pixels high on the command line; larger
// ones could only make pictures beyond the composition's limits.
constexpr int kMaxFontPixels = 10000;

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

// The writer's format for the output name, by its extension in any case.
std::optional<QByteArray> formatOf(const std::string& path) {
    const QString name = QString::fromLocal8Bit(path.c_str()).toLower();
    if (name.endsWith(".png"))
        return QByteArray("png");
    if (name.endsWith(".bmp"))
        return QByteArray("bmp");
    return std::nullopt;
}

int usage(const std::string& message) {
    std::cerr << "halvex-barcode render: " << message << '\n';
    return kUsage;
}

// Fonts and their metrics need a GUI application; the offscreen platform
// needs no display.
std::unique_ptr<QGuiApplication> ensureGuiApplication() {
    if (QGuiApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "halvex-barcode";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int runRender(const RenderOptions& options) {
    PictureInputs inputs;
    const auto type = BarcodeTypeByName(options.type);
    if (!type)
        return usage("unknown barcode type '" + options.type + "' (see: halvex-barcode types)");
    inputs.symbology = *type;
    inputs.value = options.value;
    inputs.heightMM = options.heightMM;
    inputs.display = !options.noText;
    inputs.line1 = options.line1;
    inputs.line2 = options.line2;
    inputs.checksum = options.checksum;
    inputs.angle = options.angle;
    inputs.modul = options.modul;
    struct FontOption { const std::string& text; TFont& font; const char* name; } fonts[] = {
        {options.valueFont, inputs.valueFont, "--value-font"},
        {options.line1Font, inputs.line1Font, "--line1-font"},
        {options.line2Font, inputs.line2Font, "--line2-font"},
    };
    for (FontOption& f : fonts) {
        if (f.text.empty())
            continue;
        const auto font = parseFont(f.text);
        if (!font)
            return usage(std::string(f.name) + " wants FACE:PIXELS with 1 to " + std::to_string(kMaxFontPixels) +
                         " pixels, not '" + f.text + "'");
        f.font = *font;
    }
    const auto format = formatOf(options.output);
    if (!format)
        return usage("the output name must end in .png or .bmp: '" + options.output + "'");

    const auto app = ensureGuiApplication();
    QImage picture;
    try {
        picture = composePicture(inputs);
    } catch (const EBarcodeError& e) {
        std::cerr << "halvex-barcode render: " << e.what() << '\n';
        return kRefused;
    }
    // Written beside the target and renamed over it: a failed write leaves
    // an existing file whole and no half-written one.
    QSaveFile file(QString::fromLocal8Bit(options.output.c_str()));
    if (file.open(QIODevice::WriteOnly)) {
        QImageWriter writer(&file, *format);
        if (writer.write(picture) && file.commit())
            return kDone;
        std::cerr << "halvex-barcode render: cannot write " << options.output << ": "
                  << writer.errorString().toStdString() << '\n';
        return kRefused;
    }
    std::cerr << "halvex-barcode render: cannot write " << options.output << ": "
              << file.errorString().toStdString() << '\n';
    return kRefused;
}

}  // namespace

void addRenderCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<RenderOptions>();
    CLI::App* render = app.add_subcommand(
        "render",
        "Draw the barcode picture of the main window (bars, value, two text lines) and write it as PNG or BMP, "
        "chosen by the output name's extension.  The value is encoded as given.");
    render->add_option("--type", options->type, "Symbology, e.g. Code128B or bcCodeEAN13 (see: types)")->required();
    render->add_option("--value", options->value, "Value to encode")->required();
    render->add_option("--height-mm", options->heightMM, "Bar height in millimetres (2.83 pixels each)")
        ->capture_default_str();
    render->add_flag("--no-text", options->noText, "Do not print the value under the bars");
    render->add_option("--line1", options->line1, "First free text line under the barcode");
    render->add_option("--line2", options->line2, "Second free text line under the barcode");
    render->add_option("--value-font", options->valueFont, "Font of the value, FACE:PIXELS (default MS Sans Serif:16)");
    render->add_option("--line1-font", options->line1Font, "Font of line 1, FACE:PIXELS");
    render->add_option("--line2-font", options->line2Font, "Font of line 2, FACE:PIXELS");
    render->add_flag("--checksum", options->checksum, "Add the symbology's optional check characters");
    render->add_option("--angle", options->angle,
                       "Rotation in degrees, counter-clockwise; the picture fits the rotated bars")
        ->capture_default_str()
        ->check(CLI::Range(-1e6, 1e6));
    render->add_option("--modul", options->modul, "Narrow module width in pixels")
        ->capture_default_str()
        ->check(CLI::Range(1, 49));
    render->add_option("-o,--output", options->output, "Output file, .png or .bmp")->required();
    render->callback([options, &exitCode] { exitCode = runRender(*options); });
}
