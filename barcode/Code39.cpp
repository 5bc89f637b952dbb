// Code 39 and Code 39 full ASCII.

#include <array>
#include <string_view>

#include "Barcode.h"
#include "FullAscii.h"

namespace {

struct Code39Char {
    char ch;
    std::string_view wide;  // nine elements, bar first; '1' wide, '0' narrow
    int check;
};

// Character patterns and check values (ISO/IEC 16388 character set).  The start
// and stop character '*' shares check value 0 with '0', which comes first.
constexpr std::array<Code39Char, 44> Code39Table = {{
    {'0', "000110100", 0},  {'1', "100100001", 1},  {'2', "001100001", 2},
    {'3', "101100000", 3},  {'4', "000110001", 4},  {'5', "100110000", 5},
    {'6', "001110000", 6},  {'7', "000100101", 7},  {'8', "100100100", 8},
    {'9', "001100100", 9},  {'A', "100001001", 10}, {'B', "001001001", 11},
    {'C', "101001000", 12}, {'D', "000011001", 13}, {'E', "100011000", 14},
    {'F', "001011000", 15}, {'G', "000001101", 16}, {'H', "100001100", 17},
    {'I', "001001100", 18}, {'J', "000011100", 19}, {'K', "100000011", 20},
    {'L', "001000011", 21}, {'M', "101000010", 22}, {'N', "000010011", 23},
    {'O', "100010010", 24}, {'P', "001010010", 25}, {'Q', "000000111", 26},
    {'R', "100000110", 27}, {'S', "001000110", 28}, {'T', "000010110", 29},
    {'U', "110000001", 30}, {'V', "011000001", 31}, {'W', "111000000", 32},
    {'X', "010010001", 33}, {'Y', "110010000", 34}, {'Z', "011010000", 35},
    {'-', "010000101", 36}, {'.', "110000100", 37}, {' ', "011000100", 38},
    {'*', "010010100", 0},  {'$', "010101000", 39}, {'/', "010100010", 40},
    {'+', "010001010", 41}, {'%', "000101010", 42},
}};
constexpr std::size_t kStartStop = 39;

constexpr FullAsciiMap Code39ExtMap = makeFullAsciiMap({'$', '%', '/', '+'});

// Narrow and wide bars and spaces; the wide ones are width class 1.
void appendPattern(std::string& out, const Code39Char& row) {
    for (std::size_t i = 0; i < row.wide.size(); ++i) {
        const bool bar = i % 2 == 0;
        const bool wide = row.wide[i] == '1';
        out += bar ? (wide ? '6' : '5') : (wide ? '1' : '0');
    }
}

const Code39Char* findRow(char c) {
    for (const Code39Char& row : Code39Table)
        if (row.ch == c)
            return &row;
    return nullptr;
}

// Characters without a pattern (lower case, for instance) are skipped.
std::string encode39(std::string_view data, bool checksum) {
    std::string out;
    out.reserve(10 * (data.size() + 3));
    appendPattern(out, Code39Table[kStartStop]);
    out += '0';
    int sum = 0;
    for (char c : data) {
        if (const Code39Char* row = findRow(c)) {
            appendPattern(out, *row);
            out += '0';
            sum = (sum + row->check) % 43;
        }
    }
    if (checksum) {
        for (const Code39Char& row : Code39Table) {
            if (row.check == sum) {
                appendPattern(out, row);
                out += '0';
                break;
            }
        }
    }
    appendPattern(out, Code39Table[kStartStop]);
    return out;
}

}  // namespace

std::string TKelBarcode::Code_39() { return encode39(Text(), Checksum()); }

std::string TKelBarcode::Code_39Extended() {
    return encode39(mapFullAscii(Text(), Code39ExtMap), Checksum());
}
