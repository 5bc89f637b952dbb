#pragma once
// What a JPEG file says about itself, read from its markers without a
// decoder: the frame kind, the component count and the quantisation
// tables; and the tables libjpeg writes for quality 90, worked out from
// the standard's example tables, to compare with.

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <string>

namespace jpegfacts {

// The JPEG's markers: SOFn kind, component count and the quantisation
// tables (64 values each, in the file's zigzag order).
struct JpegFacts {
    int sofMarker = 0;
    int components = 0;
    std::map<int, std::array<int, 64>> tables;
};

inline JpegFacts readJpegMarkers(const std::string& bytes) {
    JpegFacts facts;
    std::size_t i = 2;  // after SOI
    while (i + 4 <= bytes.size() && static_cast<unsigned char>(bytes[i]) == 0xFF) {
        const int marker = static_cast<unsigned char>(bytes[i + 1]);
        const std::size_t length =
            static_cast<unsigned char>(bytes[i + 2]) * 256u + static_cast<unsigned char>(bytes[i + 3]);
        const std::size_t body = i + 4;
        if (marker == 0xDB) {
            for (std::size_t p = body; p + 65 <= i + 2 + length; p += 65) {
                std::array<int, 64> table{};
                for (int k = 0; k < 64; ++k)
                    table[k] = static_cast<unsigned char>(bytes[p + 1 + k]);
                facts.tables[static_cast<unsigned char>(bytes[p]) & 0x0F] = table;
            }
        } else if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            facts.sofMarker = marker;
            facts.components = static_cast<unsigned char>(bytes[body + 5]);
        } else if (marker == 0xDA) {
            break;
        }
        i += 2 + length;
    }
    return facts;
}

// ITU-T T.81 Annex K, tables K.1 (luminance) and K.2 (chrominance), in
// natural (row by row) order.
constexpr std::array<int, 64> kLuminance = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<int, 64> kChrominance = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
// T.81 figure A.6: the zigzag sequence as natural-order indices.
constexpr std::array<int, 64> kZigzag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The IJG quality scaling: quality 90 is 20 % of the table, rounded, at
// least 1 (libjpeg's jpeg_quality_scaling and jpeg_add_quant_table).
inline std::array<int, 64> scaledForQuality90(const std::array<int, 64>& natural) {
    std::array<int, 64> zigzag{};
    for (int k = 0; k < 64; ++k)
        zigzag[k] = std::max(1, (natural[kZigzag[k]] * 20 + 50) / 100);
    return zigzag;
}

}  // namespace jpegfacts
