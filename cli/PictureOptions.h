#pragma once
// The picture options that `render` and `batch` share, their checks, and
// the writing of one picture in the format its file name asks for.

#include <QGuiApplication>
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "Composition.h"
#include "ScanCheck.h"

enum class OutputFormat { Png, Bmp, Jpeg, Svg, Pdf };

inline constexpr const char* kAcceptedExtensions = ".png, .bmp, .jpg, .svg or .pdf";

// The format for a file name by its extension, in any case.
std::optional<OutputFormat> outputFormatOf(const std::string& path);

struct PictureOptions {
    std::string type;
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
    double xDimMM = 0.0;
    int dpi = 96;
    bool quietZone = false;
    std::string foreground = "black";
    std::string background = "white";
};

// Adds the shared options to a subcommand.
void addPictureOptions(CLI::App& command, PictureOptions& options);

// A picture ready to be written: the composition's inputs and the
// resolution the files record.
struct PicturePlan {
    PictureInputs inputs;
    int dpi = 96;
};

// Checks the options and turns them into a plan; a usage error is thrown as
// CLI::ValidationError with a message that names the option.  A warning
// (the module width rounded by more than 10 %) goes to `warning`.
PicturePlan planPicture(const PictureOptions& options, std::string& warning);

// The file's bytes for `inputs` in `format`; throws EBarcodeError when the
// value cannot be drawn.
std::string encodePicture(const PicturePlan& plan, OutputFormat format);

// Whether the picture written to `path` scans as its value: a raster file
// is read back and decoded as written, a vector one decoded from the very
// same picture drawn as an image.  Throws EBarcodeError as encodePicture.
ScanResult verifyPicture(const PicturePlan& plan, OutputFormat format, const std::string& path);

// Fonts and their metrics need a GUI application; the offscreen platform
// needs no display.  Made on the main thread before any worker starts and
// kept while the command runs; null when one exists already.
std::unique_ptr<QGuiApplication> ensureGuiApplication();
