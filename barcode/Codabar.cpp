// Codabar, always framed by start character A and stop character B.

#include <array>
#include <string_view>

#include "Barcode.h"

namespace {

struct CodabarChar {
    char ch;
    std::string_view wide;  // bar, space, bar, space, bar, space, bar; '1' wide
};

// Character patterns (ANSI/AIM BC3, USS-Codabar).
constexpr std::array<CodabarChar, 20> CodabarTable = {{
    {'1', "0000110"}, {'2', "0001001"}, {'3', "1100000"}, {'4', "0010010"},
    {'5', "1000010"}, {'6', "0100001"}, {'7', "0100100"}, {'8', "0110000"},
    {'9', "1001000"}, {'0', "0000011"}, {'-', "0001100"}, {'$', "0011000"},
    {':', "1000101"}, {'/', "1010001"}, {'.', "1010100"}, {'+', "0010101"},
    {'A', "0011010"}, {'B', "0101001"}, {'C', "0001011"}, {'D', "0001110"},
}};

// The first row holding `ch` (case matters); -1 when there is none.
int CodabarIndex(char ch) {
    for (std::size_t i = 0; i < CodabarTable.size(); ++i)
        if (CodabarTable[i].ch == ch)
            return static_cast<int>(i);
    return -1;
}

void appendPattern(std::string& out, int index) {
    const std::string_view wide = CodabarTable[static_cast<std::size_t>(index)].wide;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const bool isWide = wide[i] == '1';
        out += i % 2 == 0 ? (isWide ? '6' : '5') : (isWide ? '1' : '0');
    }
}

}  // namespace

// A character outside the table is refused: there is no code for it, and
// leaving it out would draw a symbol that scans as another value.
std::string TKelBarcode::Code_Codabar() {
    const std::string& text = Text();
    std::string out;
    out.reserve(8 * (text.size() + 2));
    appendPattern(out, CodabarIndex('A'));
    out += '0';
    for (char c : text) {
        const int index = CodabarIndex(c);
        if (index < 0)
            Fail(":Codabar bad Data <" + text + ">");
        appendPattern(out, index);
        out += '0';
    }
    appendPattern(out, CodabarIndex('B'));
    return out;
}
