// EAN-8, EAN-13, UPC-A, UPC-E (number systems 0 and 1) and the 2- and
// 5-digit add-on symbols.

#include <array>
#include <string_view>

#include "Barcode.h"
#include "Bcchksum.h"
#include "Digits.h"

namespace {

using DigitCode = std::array<char, 4>;
using CodeSet = std::array<DigitCode, 10>;

// Module widths of the odd-parity left-hand digit codes (set A), space
// first (ISO/IEC 15420, number set A).  Sets B and C derive from it.
constexpr std::array<std::string_view, 10> kSetAWidths = {
    "3211", "2221", "2122", "1411", "1132", "1231", "1114", "1312", "1213", "3112",
};

// An element k modules wide is width class k - 1; elements alternate
// bar and space.
constexpr CodeSet makeCodeSet(bool barFirst, bool reversed) {
    CodeSet set{};
    for (std::size_t digit = 0; digit < 10; ++digit) {
        for (std::size_t i = 0; i < 4; ++i) {
            const char width = kSetAWidths[digit][reversed ? 3 - i : i];
            const bool bar = (i % 2 == 0) == barFirst;
            set[digit][i] = static_cast<char>((bar ? '5' : '0') + (width - '1'));
        }
    }
    return set;
}

// Set A: left-hand odd parity; set B: left-hand even parity (set C read
// backwards); set C: right-hand, bar first.
constexpr CodeSet EanTableA = makeCodeSet(false, false);
constexpr CodeSet EanTableB = makeCodeSet(false, true);
constexpr CodeSet EanTableC = makeCodeSet(true, false);

static_assert(std::string_view(EanTableA[0].data(), 4) == "2605");
static_assert(std::string_view(EanTableB[0].data(), 4) == "0517");
static_assert(std::string_view(EanTableC[9].data(), 4) == "7051");

constexpr std::string_view kGuard = "505";
constexpr std::string_view kCentreGuard = "05050";
constexpr std::string_view kUpcEEndGuard = "050505";
constexpr std::string_view kAddOnStart = "506";
constexpr std::string_view kAddOnSeparator = "05";

// Sets of the six left-hand digits of EAN-13 by the leading digit
// (ISO/IEC 15420, parity patterns of the implied 13th digit).
constexpr std::array<std::string_view, 10> Ean13Parity = {
    "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
    "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA",
};

// UPC-E parity by check digit for number system 0, E even and o odd
// (ISO/IEC 15420, UPC-E parity patterns); letters 2..6 are the 5-digit
// add-on patterns.
constexpr std::array<std::string_view, 10> UpcEParity = {
    "EEEooo", "EEoEoo", "EEooEo", "EEoooE", "EoEEoo",
    "EooEEo", "EoooEE", "EoEoEo", "EoEooE", "EooEoE",
};

// 2-digit add-on parity by value mod 4 (ISO/IEC 15420, add-on symbols).
constexpr std::array<std::string_view, 4> kSupp2Parity = {"oo", "oE", "Eo", "EE"};

void appendDigit(std::string& out, const CodeSet& set, char digit) {
    const DigitCode& code = set[static_cast<std::size_t>(digitValue(digit))];
    out.append(code.data(), code.size());
}

// E draws from set B and o from set A; number system 1 of UPC-E swaps them.
const CodeSet& setOfLetter(char letter, bool swapped) {
    const bool even = letter == 'E';
    return even != swapped ? EanTableB : EanTableA;
}

// The digits followed by the add-on check digit: counted from the right,
// odd positions weigh 3 and even ones 9.
std::string SuppCheckDigit(std::string_view digits) {
    int sum = 0;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i)
        sum = (sum + digitValue(digits[i]) * ((n - i) % 2 == 1 ? 3 : 9)) % 10;
    std::string result(digits);
    result.push_back(static_cast<char>('0' + sum));
    return result;
}

// The 11-digit UPC-A number that six UPC-E digits stand for, by the rule
// of their last digit (ISO/IEC 15420, zero suppression).
std::string expandUpcE(char numberSystem, std::string_view d) {
    std::string a(1, numberSystem);
    switch (d[5]) {
    case '0':
    case '1':
    case '2':
        a += {d[0], d[1], d[5], '0', '0', '0', '0', d[2], d[3], d[4]};
        break;
    case '3':
        a += {d[0], d[1], d[2], '0', '0', '0', '0', '0', d[3], d[4]};
        break;
    case '4':
        a += {d[0], d[1], d[2], d[3], '0', '0', '0', '0', '0', d[4]};
        break;
    default:
        a += {d[0], d[1], d[2], d[3], d[4], '0', '0', '0', '0', d[5]};
        break;
    }
    return a;
}

struct Encoded {
    std::string modules;
    std::string text;  // the value to store back into Text
};

// UPC-E: only six digits are drawn; number system and check digit are
// carried by the parity row.  The row is chosen by the check digit of the
// UPC-A number the symbol expands to, which is what scanners verify.
Encoded encodeUpcE(const TKelBarcode& b, bool system1) {
    if (b.CheckSumMethod() == csmNone)
        throw EBarcodeError("Invalid Text len (UPC-E)");
    const char numberSystem = system1 ? '1' : '0';
    // With the check digit the value is the first six digits of the padded
    // value plus the check digit; without it, the value padded to seven.
    const std::string padded = b.SetLen(b.Checksum() ? 6 : 7);
    const std::string six = padded.substr(0, 6);
    for (char c : six)
        digitValue(c);
    const char check = CheckSumModulo10(expandUpcE(numberSystem, six)).back();
    const std::string_view row = UpcEParity[static_cast<std::size_t>(check - '0')];

    Encoded result;
    result.text = b.Checksum() ? six + check : padded;
    result.modules.reserve(33);
    result.modules += kGuard;
    for (std::size_t i = 0; i < 6; ++i)
        appendDigit(result.modules, setOfLetter(row[i], system1), six[i]);
    result.modules += kUpcEEndGuard;
    return result;
}

}  // namespace

std::string TKelBarcode::Code_EAN8() {
    std::string v;
    if (Checksum()) {
        v = SetLen(7);
        v = DoCheckSumming(std::string_view(v).substr(v.size() - 7));
    } else {
        v = SetLen(8);
    }
    if (v.size() != 8)
        throw EBarcodeError("Invalid Text len (EAN8)");
    std::string out(kGuard);
    for (std::size_t i = 0; i < 4; ++i)
        appendDigit(out, EanTableA, v[i]);
    out += kCentreGuard;
    for (std::size_t i = 4; i < 8; ++i)
        appendDigit(out, EanTableC, v[i]);
    out += kGuard;
    return out;
}

std::string TKelBarcode::Code_EAN13() {
    const std::string v = Checksum() ? DoCheckSumming(SetLen(12)) : SetLen(13);
    if (v.size() != 13)
        throw EBarcodeError("Invalid Text len (EAN13)");
    const std::string_view row = Ean13Parity[static_cast<std::size_t>(digitValue(v[0]))];
    std::string out(kGuard);
    for (std::size_t i = 0; i < 6; ++i)
        appendDigit(out, row[i] == 'A' ? EanTableA : EanTableB, v[i + 1]);
    out += kCentreGuard;
    for (std::size_t i = 7; i < 13; ++i)
        appendDigit(out, EanTableC, v[i]);
    out += kGuard;
    return out;
}

std::string TKelBarcode::Code_UPC_A() {
    std::string v;
    if (Checksum()) {
        // Without a check digit method an 11-digit value cannot fill 12.
        if (CheckSumMethod() == csmNone)
            throw EBarcodeError("Invalid Text len (UPC-A)");
        // Padded to 11, so that an 11-digit value keeps its last digit.
        v = DoCheckSumming(SetLen(11).substr(0, 11));
    } else {
        v = SetLen(12);
    }
    std::string out(kGuard);
    for (std::size_t i = 0; i < 6; ++i)
        appendDigit(out, EanTableA, v[i]);
    out += kCentreGuard;
    for (std::size_t i = 6; i < 12; ++i)
        appendDigit(out, EanTableC, v[i]);
    out += kGuard;
    StoreText(std::move(v));
    return out;
}

std::string TKelBarcode::Code_UPC_E0() {
    Encoded e = encodeUpcE(*this, false);
    StoreText(std::move(e.text));
    return std::move(e.modules);
}

std::string TKelBarcode::Code_UPC_E1() {
    Encoded e = encodeUpcE(*this, true);
    StoreText(std::move(e.text));
    return std::move(e.modules);
}

std::string TKelBarcode::Code_Supp5() {
    const std::string padded = SetLen(5);
    const std::string w = SuppCheckDigit(std::string_view(padded).substr(0, 5));
    const std::string_view row = UpcEParity[static_cast<std::size_t>(w[5] - '0')];
    std::string out(kAddOnStart);
    for (std::size_t i = 0; i < 5; ++i) {
        if (i > 0)
            out += kAddOnSeparator;
        appendDigit(out, setOfLetter(row[i + 1], false), w[i]);
    }
    StoreText(Checksum() ? w : padded);
    return out;
}

std::string TKelBarcode::Code_Supp2() {
    const std::string padded = SetLen(2);
    const std::string w = SuppCheckDigit(std::string_view(padded).substr(0, 2));
    const int value = digitValue(w[0]) * 10 + digitValue(w[1]);
    const std::string_view pair = kSupp2Parity[static_cast<std::size_t>(value % 4)];
    std::string out(kAddOnStart);
    appendDigit(out, setOfLetter(pair[0], false), w[0]);
    out += kAddOnSeparator;
    appendDigit(out, setOfLetter(pair[1], false), w[1]);
    StoreText(Checksum() ? w : padded);
    return out;
}
