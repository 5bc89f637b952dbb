// PostNet: full and half bars between two full frame bars.

#include <array>
#include <string_view>

#include "Barcode.h"
#include "Digits.h"

namespace {

// Five bars per digit weighing 7, 4, 2, 1 and 0; the two full bars add up
// to the digit, 0 taking 7 + 4 (USPS Domestic Mail Manual, POSTNET).  Each
// bar is followed by a wide space.
constexpr std::array<std::string_view, 10> PostNetTable = {
    "5151A1A1A1", "A1A1A15151", "A1A151A151", "A1A15151A1", "A151A1A151",
    "A151A151A1", "A15151A1A1", "51A1A1A151", "51A1A151A1", "51A151A1A1",
};

}  // namespace

std::string TKelBarcode::Code_PostNet() {
    const std::string& text = Text();
    std::string out = "51";
    out.reserve(2 + 10 * text.size() + 1);
    for (char c : text)
        out += PostNetTable[static_cast<std::size_t>(digitValue(c))];
    out += '5';
    return out;
}
