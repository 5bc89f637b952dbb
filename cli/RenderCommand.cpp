// halvex-barcode render: the main window's picture, written as PNG, BMP,
// JPEG, SVG or PDF by the output name's extension.

#include <iostream>
#include <memory>
#include <string>

#include "Barcode.h"
#include "Commands.h"
#include "ImageWriter.h"
#include "PictureOptions.h"

namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kDoesNotScan = 3;

struct RenderOptions {
    PictureOptions picture;
    std::string value;
    std::string output;
    bool verify = false;
};

int runRender(const RenderOptions& options) {
    const auto format = outputFormatOf(options.output);
    if (!format)
        throw CLI::ValidationError("--output", "the output name must end in " + std::string(kAcceptedExtensions) +
                                                   ": '" + options.output + "'");
    std::string warning;
    PicturePlan plan = planPicture(options.picture, warning);
    plan.inputs.value = options.value;
    if (!warning.empty())
        std::cerr << "halvex-barcode render: warning: " << warning << '\n';

    const auto app = ensureGuiApplication();
    try {
        replaceFile(options.output, encodePicture(plan, *format));
        if (options.verify) {
            const ScanResult scan = verifyPicture(plan, *format, options.output);
            if (scan.outcome != ScanOutcome::Scans) {
                std::cerr << "halvex-barcode render: " << options.output << ": " << describeScan(scan) << '\n';
                return kDoesNotScan;
            }
        }
    } catch (const EBarcodeError& e) {
        std::cerr << "halvex-barcode render: " << e.what() << '\n';
        return kRefused;
    } catch (const ImageWriteError& e) {
        std::cerr << "halvex-barcode render: " << e.what() << ": " << e.reason() << '\n';
        return kRefused;
    }
    return kDone;
}

}  // namespace

void addRenderCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<RenderOptions>();
    CLI::App* render = app.add_subcommand("render", "Draw one barcode picture and write it to a file");
    render->description(
        "Draw one barcode picture, the main window's: the bars, the value under them and up to two text\n"
        "lines.  The output name's extension picks the format: .png, .bmp (24-bit), .jpg (baseline,\n"
        "quality 90), .svg or .pdf (vector: bars as rectangles, text as text, 1 pixel = 1/dpi inch).\n"
        "The value is encoded as given.  With --verify the written picture is read back with a barcode\n"
        "decoder (a quiet zone added in memory) and must scan as the value shown under the bars.\n"
        "Exit status: 0 written (and, with --verify, scans as its value), 1 the value or the file was\n"
        "refused (nothing written, an old file kept), 2 usage error, 3 written but it does not scan as\n"
        "its value, or its symbology cannot be checked (the reason on standard error).");
    render->footer(
        "\nExamples:\n"
        "  halvex-barcode render -t EAN13 -v 400638133393 -o can.png\n"
        "  halvex-barcode render -t Code128B -v ABC-123 --x-dim 0.33 --dpi 300 --quiet-zone -o label.pdf\n"
        "  halvex-barcode render -t Code39 -v HELLO --fg navy --bg '#FFFFCC' --line1 'Shelf 4' -o tag.svg");
    render->add_option("-v,--value", options->value, "Value to encode")->required();
    render->add_option("-o,--output", options->output, "Output file: .png, .bmp, .jpg, .svg or .pdf")->required();
    render->add_flag("--verify", options->verify,
                     "Read the written picture back with a decoder; exit 3 unless it scans as its value");
    addPictureOptions(*render, options->picture);
    render->callback([options, &exitCode] {
        exitCode = runRender(*options);
    });
}
