// Interleaved, Industrial and Matrix 2 of 5.

#include <array>
#include <string_view>

#include "Barcode.h"
#include "Digits.h"

namespace {

// Five elements per digit, '1' wide: weights 1, 2, 4, 7 and parity; the two
// wide elements add up to the digit, 0 taking 4 + 7 (ISO/IEC 16390 character set).
constexpr std::array<std::string_view, 10> TwoOfFiveTable = {
    "00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010",
};

std::string_view patternOf(char digit) {
    return TwoOfFiveTable[static_cast<std::size_t>(digitValue(digit))];
}

}  // namespace

// Pairs of digits, the first in the bars and the second in the spaces; an
// odd last digit has no partner and is not drawn.
std::string TKelBarcode::Code_2_5_interleaved() {
    const std::string& text = Text();
    std::string out = "5050";
    out.reserve(4 + 10 * (text.size() / 2) + 3);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const std::string_view bars = patternOf(text[i]);
        const std::string_view spaces = patternOf(text[i + 1]);
        for (std::size_t j = 0; j < 5; ++j) {
            out += bars[j] == '1' ? '6' : '5';
            out += spaces[j] == '1' ? '1' : '0';
        }
    }
    out += "605";
    return out;
}

// Every element of a digit is a bar; all spaces are narrow.
std::string TKelBarcode::Code_2_5_industrial() {
    std::string out = "606050";
    out.reserve(6 + 10 * Text().size() + 6);
    for (char c : Text())
        for (char element : patternOf(c))
            out += element == '1' ? "60" : "50";
    out += "605060";
    return out;
}

// Bars and spaces alternate within a digit, followed by a narrow gap.  The
// start and stop bars are the extra-wide width class 2.
std::string TKelBarcode::Code_2_5_matrix() {
    std::string out = "705050";
    out.reserve(6 + 6 * Text().size() + 5);
    for (char c : Text()) {
        const std::string_view pattern = patternOf(c);
        for (std::size_t j = 0; j < 5; ++j) {
            const bool wide = pattern[j] == '1';
            out += j % 2 == 0 ? (wide ? '6' : '5') : (wide ? '1' : '0');
        }
        out += '0';
    }
    out += "70505";
    return out;
}
