#pragma once
// The toolkit's conversion of a typed text to an integer, and the message
// the standard error display shows when it fails.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Leading blanks, an optional sign, then decimal digits and nothing else,
// within the signed 32-bit range.
inline std::optional<std::int32_t> strToInt(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at == text.size()) return std::nullopt;
    std::int64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t(INT32_MAX) + 1) return std::nullopt;
    }
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

inline std::string invalidIntegerMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}
