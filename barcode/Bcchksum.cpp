#include "Bcchksum.h"

#include "BarcodeError.h"

std::string CheckSumModulo10(std::string_view Data) {
    const std::size_t n = Data.size();
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = Data[i];
        if (c < '0' || c > '9')
            throw EBarcodeError("'" + std::string(1, c) + "' is not a valid integer value");
        // The rightmost character weighs 3, the one before it 1, and so on.
        const unsigned weight = ((n - i) % 2 == 1) ? 3 : 1;
        sum = (sum + static_cast<unsigned>(c - '0') * weight) % 10;
    }
    const unsigned check = (sum % 10 == 0) ? 0 : 10 - sum % 10;
    std::string result;
    result.reserve(n + 1);
    result.append(Data);
    result.push_back(static_cast<char>('0' + check));
    return result;
}
