#pragma once
// Test oracle: renders a module string into a grey image with a quiet zone
// and asks independent decoders (zxing-cpp, zbarimg) what they read.

#include <optional>
#include <string>
#include <vector>

#include <ZXing/BarcodeFormat.h>

class TKelBarcode;

namespace oracle {

struct GrayImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // 0 black, 255 white, row by row
};

// One column per width unit (widths from the barcode's ModuleWidths after
// MakeData), `height` rows; half bars fill the top 2/5.  `quiet` white
// units are added left and right, and a few rows above and below.
GrayImage renderModules(const TKelBarcode& barcode, const std::string& modules,
                        int quiet = 20, int height = 60);

// Scales an image up by whole pixels (decoders like 2+ pixels a module).
GrayImage scale(const GrayImage& image, int factor);

struct Decoded {
    std::string text;          // decoded bytes
    std::string symbology;     // zxing: symbology identifier ("]C1"); zbar: type name
};

// zxing-cpp with the given formats, trying harder; nullopt when it reads nothing.
std::optional<Decoded> decodeZxing(const GrayImage& image, ZXing::BarcodeFormats formats,
                                   bool code39Extended = false);

struct ZxingOptions {
    bool code39Extended = false;          // read Code 39 full ASCII
    bool validateCode39CheckSum = false;  // require and strip the mod-43 check character
    bool returnCodabarStartEnd = false;   // keep Codabar's start/stop characters
};

// As decodeZxing, with more reader options.
std::optional<Decoded> decodeZxingWith(const GrayImage& image, ZXing::BarcodeFormats formats,
                                       const ZxingOptions& options);

// zbarimg on a temporary PGM file; nullopt when it reads nothing.  With
// addOns, zbar is asked for EAN-2/EAN-5 add-ons too.
std::optional<Decoded> decodeZbar(const GrayImage& image, bool addOns = false);

// The rows of the symbol that the zint CLI makes for `data` with barcode
// type `symbology` (zint -b) and `extraArgs`, each a string of '1' (dark)
// and '0' (light) modules, top row first, trailing light modules removed.
// Only [0-9A-Za-z] data is passed; nullopt when zint fails or prints nothing.
std::optional<std::vector<std::string>> zintRows(int symbology, const std::string& data,
                                                 const std::string& extraArgs = "");

// Writes a binary PGM (for looking at failures).
bool writePgm(const GrayImage& image, const std::string& path);

}  // namespace oracle
