// Code 128 and EAN-128 (GS1-128) in a single code set, no shifts.

#include <array>
#include <string_view>

#include "Barcode.h"

namespace {

// Symbol character patterns of values 0..102, widths of bar, space, bar,
// space, bar, space in modules (ISO/IEC 15417 table 1).
constexpr std::array<std::string_view, 103> kPatterns = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131",
};

constexpr int kFnc1 = 102;
constexpr std::string_view kStartA = "211412";
constexpr std::string_view kStartB = "211214";
constexpr std::string_view kStartC = "211232";
constexpr std::string_view kStop = "2331112";

// A width pattern (bar first) as module codes.  Every symbol character has
// six elements, so its bars and spaces keep their places wherever it stands
// in the symbol, and each one can be converted once, at compile time, with
// the rule of PatternToModules.
template <std::size_t N>
constexpr std::array<char, N> toModules(std::string_view pattern) {
    std::array<char, N> modules{};
    for (std::size_t i = 0; i < N; ++i)
        modules[i] = static_cast<char>((i % 2 == 0 ? '5' : '0') + (pattern[i] - '1'));
    return modules;
}

constexpr auto kSymbols = [] {
    std::array<std::array<char, 6>, kPatterns.size()> symbols{};
    for (std::size_t v = 0; v < kPatterns.size(); ++v)
        symbols[v] = toModules<6>(kPatterns[v]);
    return symbols;
}();
constexpr auto kStopModules = toModules<7>(kStop);

enum class CodeSet { A, B, C };

struct Start {
    CodeSet set;
    int value;
    std::string_view pattern;
    bool ean;
};

bool startOf(TBarcodeType typ, Start& start) {
    switch (typ) {
    case bcCode128A: start = {CodeSet::A, 103, kStartA, false}; return true;
    case bcCode128B: start = {CodeSet::B, 104, kStartB, false}; return true;
    case bcCode128C: start = {CodeSet::C, 105, kStartC, false}; return true;
    case bcCodeEAN128A: start = {CodeSet::A, 103, kStartA, true}; return true;
    case bcCodeEAN128B: start = {CodeSet::B, 104, kStartB, true}; return true;
    case bcCodeEAN128C: start = {CodeSet::C, 105, kStartC, true}; return true;
    default: return false;
    }
}

// Value of one byte in set A (space to '_') or B (space to '~'); a byte the
// set lacks is encoded as value 0, the space.
int valueInSet(unsigned char c, CodeSet set) {
    const unsigned last = (set == CodeSet::A) ? 95 : 126;
    return (c >= 32 && c <= last) ? c - 32 : 0;
}

// Value of a digit pair in set C; anything but two digits is value 0.
int valueOfPair(char hi, char lo) {
    if (hi < '0' || hi > '9' || lo < '0' || lo > '9')
        return 0;
    return (hi - '0') * 10 + (lo - '0');
}

}  // namespace

std::string TKelBarcode::Code_128() {
    Start start;
    if (!startOf(Typ(), start))
        Fail(": wrong BarcodeType in Code_128");

    // The EAN-128 check digit lives in a working copy only; Text stays as it is.
    std::string checked;
    const bool usesCopy = start.ean && Checksum() && CheckSumMethod() == csmModulo10;
    if (usesCopy)
        checked = DoCheckSumming(Text());

    // Code set C takes digit pairs: an odd-length value gets a leading '0',
    // which Text keeps so that the text shown matches the bars.
    if (start.set == CodeSet::C) {
        if (usesCopy) {
            if (checked.size() % 2 == 1)
                checked.insert(checked.begin(), '0');
        } else if (Text().size() % 2 == 1) {
            StoreText('0' + Text());
        }
    }
    const std::string& value = usesCopy ? checked : Text();
    const std::size_t symbolCount = start.set == CodeSet::C ? value.size() / 2 : value.size();

    // Start, FNC1 for EAN-128, the data symbols, the check symbol, the stop.
    std::string modules(6 * (symbolCount + 2 + (start.ean ? 1 : 0)) + kStopModules.size(), '\0');
    char* out = modules.data();
    auto put = [&out](const auto& codes) {
        for (char c : codes)
            *out++ = c;
    };
    put(toModules<6>(start.pattern));
    unsigned sum = static_cast<unsigned>(start.value);
    unsigned weight = 1;
    // Sum and weight are kept modulo 103 so that no length can overflow them.
    auto add = [&](int symbol) {
        put(kSymbols[symbol]);
        sum = (sum + weight * static_cast<unsigned>(symbol)) % 103;
        weight = (weight + 1) % 103;
    };
    if (start.ean)
        add(kFnc1);

    if (start.set == CodeSet::C) {
        for (std::size_t i = 0; i + 1 < value.size(); i += 2)
            add(valueOfPair(value[i], value[i + 1]));
    } else {
        for (char c : value)
            add(valueInSet(static_cast<unsigned char>(c), start.set));
    }

    put(kSymbols[sum % 103]);
    put(kStopModules);
    return modules;
}
