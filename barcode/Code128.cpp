// Code 128 and EAN-128 (GS1-128) in a single code set, no shifts.

#include <array>

#include "Barcode.h"

namespace {

// Symbol character patterns of values 0..102, widths of bar, space, bar,
// space, bar, space in modules (ISO/IEC 15417 table 1).
constexpr std::array<const char*, 103> kPatterns = {
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
constexpr const char* kStartA = "211412";
constexpr const char* kStartB = "211214";
constexpr const char* kStartC = "211232";
constexpr const char* kStop = "2331112";

enum class CodeSet { A, B, C };

struct Start {
    CodeSet set;
    int value;
    const char* pattern;
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

    std::string pattern;
    pattern.reserve(6 * (Text().size() + 4) + 7);
    pattern += start.pattern;
    unsigned sum = start.value;
    unsigned weight = 1;

    // The EAN-128 check digit lives in a working copy only; Text stays as it is.
    std::string checked;
    bool usesCopy = false;
    if (start.ean) {
        pattern += kPatterns[kFnc1];
        sum += weight * kFnc1;
        weight = 2;
        if (Checksum() && CheckSumMethod() == csmModulo10) {
            checked = DoCheckSumming(Text());
            usesCopy = true;
        }
    }

    auto add = [&](int value) {
        pattern += kPatterns[value];
        sum = (sum + weight * static_cast<unsigned>(value)) % 103;
        weight = (weight + 1) % 103;
    };

    if (start.set == CodeSet::C) {
        if (usesCopy) {
            if (checked.size() % 2 == 1)
                checked.insert(checked.begin(), '0');
        } else if (Text().size() % 2 == 1) {
            StoreText('0' + Text());
        }
        const std::string& value = usesCopy ? checked : Text();
        for (std::size_t i = 0; i + 1 < value.size(); i += 2)
            add(valueOfPair(value[i], value[i + 1]));
    } else {
        const std::string& value = usesCopy ? checked : Text();
        for (char c : value)
            add(valueInSet(static_cast<unsigned char>(c), start.set));
    }

    pattern += kPatterns[sum % 103];
    pattern += kStop;
    return PatternToModules(pattern);
}
