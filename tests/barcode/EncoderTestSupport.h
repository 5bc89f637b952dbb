#pragma once
// Small helpers shared by the encoder tests.

#include <random>
#include <string>

#include "Barcode.h"
#include "ScanOracle.h"

namespace enc {

struct Options {
    bool checksum = false;
    TCheckSumMethod method = csmModulo10;
    double ratio = 2.0;
};

// A fresh component set up for one encoding.
inline void setUp(TKelBarcode& b, TBarcodeType typ, const std::string& text, const Options& o = {}) {
    b.SetTyp(typ);
    b.SetText(text);
    b.SetCheckSum(o.checksum);
    b.SetCheckSumMethod(o.method);
    b.SetRatio(o.ratio);
}

// Total width in modules (Modul 1) of a module string at the current widths.
inline int widthOf(const TKelBarcode& b, const std::string& modules) {
    int total = 0;
    for (char c : modules) {
        int w = 0;
        TBarLineType line;
        b.OneBarProps(c, w, line);
        total += w;
    }
    return total;
}

// The rendered symbol, three pixels a width unit, with a quiet zone.
inline oracle::GrayImage picture(const TKelBarcode& b, const std::string& modules) {
    return oracle::scale(oracle::renderModules(b, modules), 3);
}

// Reproducible random strings over an alphabet.
class Values {
public:
    explicit Values(unsigned seed) : m_rng(seed) {}
    std::string next(const std::string& alphabet, std::size_t minLen, std::size_t maxLen) {
        std::uniform_int_distribution<std::size_t> len(minLen, maxLen);
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        std::string s(len(m_rng), ' ');
        for (char& c : s)
            c = alphabet[pick(m_rng)];
        return s;
    }
    std::string digits(std::size_t n) { return next("0123456789", n, n); }

private:
    std::mt19937 m_rng;
};

}  // namespace enc

namespace enc {

// The widths of the runs of a one-row zint symbol, as digits (bar first).
inline std::string runLengths(const std::string& row) {
    std::string widths;
    for (std::size_t i = 0; i < row.size();) {
        std::size_t j = i;
        while (j < row.size() && row[j] == row[i])
            ++j;
        widths += static_cast<char>('0' + (j - i));
        i = j;
    }
    return widths;
}

}  // namespace enc
