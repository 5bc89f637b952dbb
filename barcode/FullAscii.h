#pragma once
// Full ASCII for Code 39 and Code 93: every byte 0..127 as one or two
// characters of the base symbology, the first of a pair being one of four
// prefixes (ISO/IEC 16388 annex, full ASCII; the same pairs in Code 93
// with its shift characters).

#include <array>
#include <string>
#include <string_view>

struct FullAsciiPrefixes {
    char dollar;   // control characters 1..26
    char percent;  // the other controls and most punctuation
    char slash;    // '!' to '/' and ':'
    char plus;     // lower-case letters
};

struct FullAsciiEntry {
    std::array<char, 2> chars{};
    std::size_t size = 0;
};

using FullAsciiMap = std::array<FullAsciiEntry, 128>;

constexpr FullAsciiMap makeFullAsciiMap(FullAsciiPrefixes p) {
    FullAsciiMap map{};
    auto pair = [](char prefix, int letter) {
        return FullAsciiEntry{{prefix, static_cast<char>(letter)}, 2};
    };
    for (int b = 0; b < 128; ++b) {
        FullAsciiEntry& e = map[static_cast<std::size_t>(b)];
        if (b == 0)
            e = pair(p.percent, 'U');
        else if (b <= 26)
            e = pair(p.dollar, 'A' + b - 1);
        else if (b <= 31)
            e = pair(p.percent, 'A' + b - 27);
        else if (b == 32 || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z'))
            e = FullAsciiEntry{{static_cast<char>(b), 0}, 1};
        else if (b <= 47)
            e = pair(p.slash, 'A' + b - 33);
        else if (b == 58)
            e = pair(p.slash, 'Z');
        else if (b <= 63)
            e = pair(p.percent, 'F' + b - 59);
        else if (b == 64)
            e = pair(p.percent, 'V');
        else if (b <= 95)
            e = pair(p.percent, 'K' + b - 91);
        else if (b == 96)
            e = pair(p.percent, 'W');
        else if (b <= 122)
            e = pair(p.plus, 'A' + b - 97);
        else
            e = pair(p.percent, 'P' + b - 123);
    }
    return map;
}

// The mapped string; bytes from 128 up have no entry and are dropped.
inline std::string mapFullAscii(std::string_view text, const FullAsciiMap& map) {
    std::string mapped;
    mapped.reserve(2 * text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 128) {
            const FullAsciiEntry& e = map[byte];
            mapped.append(e.chars.data(), e.size);
        }
    }
    return mapped;
}
