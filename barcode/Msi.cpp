// MSI (Modified Plessey) with its modulo-10 check digit.

#include <array>
#include <string_view>

#include "Barcode.h"
#include "Digits.h"

namespace {

// Each digit's four bits, most significant first: 0 as a narrow bar and a
// wide space, 1 as a wide bar and a narrow space (MSI Data Corporation's Modified Plessey).
constexpr std::array<std::string_view, 10> MsiTable = {
    "51515151", "51515160", "51516051", "51516060", "51605151",
    "51605160", "51606051", "51606060", "60515151", "60515160",
};

// The sum of the decimal digits of n for n > 0; 0 otherwise.
int DigitSum(int n) {
    int sum = 0;
    while (n > 0) {
        sum += n % 10;
        n /= 10;
    }
    return sum;
}

// Positions count from the rightmost digit, which is position 1.  The digits
// at odd positions, in order, form a number N that is doubled; the others
// are added.  Doubling carries at most one into a digit, and only out of
// digits 5..9, so the digit sum of 2N is the sum of the digit sums of each
// doubled digit: exact for any length, with no big number.
int msiCheckDigit(std::string_view digits) {
    int total = 0;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int d = digitValue(digits[i]);
        total += (n - i) % 2 == 1 ? DigitSum(2 * d) : d;
        total %= 10;
    }
    return (10 - total) % 10;
}

}  // namespace

std::string TKelBarcode::Code_MSI() {
    const std::string& text = Text();
    std::string out = "60";
    out.reserve(2 + 8 * (text.size() + 1) + 3);
    for (char c : text)
        out += MsiTable[static_cast<std::size_t>(digitValue(c))];
    out += MsiTable[static_cast<std::size_t>(msiCheckDigit(text))];
    out += "515";
    return out;
}
