// Code 93 and Code 93 full ASCII.

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "Barcode.h"
#include "FullAscii.h"

namespace {

struct Code93Char {
    char ch;
    std::string_view widths;  // bar, space, bar, space, bar, space in modules
};

// Character patterns in the order of their values 0..46 (ANSI/AIM BC5, USS-93).
// The shift characters ($), (%), (/) and (+) are held as '[', ']', '{', '}'.
constexpr std::array<Code93Char, 47> Code93Table = {{
    {'0', "131112"}, {'1', "111213"}, {'2', "111312"}, {'3', "111411"}, {'4', "121113"},
    {'5', "121212"}, {'6', "121311"}, {'7', "111114"}, {'8', "131211"}, {'9', "141111"},
    {'A', "211113"}, {'B', "211212"}, {'C', "211311"}, {'D', "221112"}, {'E', "221211"},
    {'F', "231111"}, {'G', "112113"}, {'H', "112212"}, {'I', "112311"}, {'J', "122112"},
    {'K', "132111"}, {'L', "111123"}, {'M', "111222"}, {'N', "111321"}, {'O', "121122"},
    {'P', "131121"}, {'Q', "212112"}, {'R', "212211"}, {'S', "211122"}, {'T', "211221"},
    {'U', "221121"}, {'V', "222111"}, {'W', "112122"}, {'X', "112221"}, {'Y', "122121"},
    {'Z', "123111"}, {'-', "121131"}, {'.', "311112"}, {' ', "311211"}, {'$', "321111"},
    {'/', "112131"}, {'+', "113121"}, {'%', "211131"}, {'[', "121221"}, {']', "312111"},
    {'{', "311121"}, {'}', "122211"},
}};

constexpr std::string_view kStart = "111141";
constexpr std::string_view kStop = "1111411";  // stop character and termination bar

constexpr FullAsciiMap Code93ExtMap = makeFullAsciiMap({'[', ']', '{', '}'});

std::optional<std::size_t> valueOf(char c) {
    for (std::size_t v = 0; v < Code93Table.size(); ++v)
        if (Code93Table[v].ch == c)
            return v;
    return std::nullopt;
}

// The width pattern with both check characters; nullopt when a character
// has no value.
std::optional<std::string> encode93(std::string_view data) {
    std::string pattern;
    pattern.reserve(6 * (data.size() + 4) + 1);
    pattern += kStart;
    std::vector<std::size_t> values;
    values.reserve(data.size());
    for (char c : data) {
        const auto v = valueOf(c);
        if (!v)
            return std::nullopt;
        values.push_back(*v);
        pattern += Code93Table[*v].widths;
    }
    // C weighs the data 1..20 from the right; K weighs C 1 and the data
    // 2..15, then 1 again.  Kept modulo 47 so that no length overflows.
    std::size_t sumC = 0;
    std::size_t sumK = 0;
    std::size_t wC = 1;
    std::size_t wK = 2;
    for (auto it = values.rbegin(); it != values.rend(); ++it) {
        sumC = (sumC + *it * wC) % 47;
        sumK = (sumK + *it * wK) % 47;
        wC = wC == 20 ? 1 : wC + 1;
        wK = wK == 15 ? 1 : wK + 1;
    }
    const std::size_t c = sumC;
    const std::size_t k = (sumK + sumC) % 47;
    pattern += Code93Table[c].widths;
    pattern += Code93Table[k].widths;
    pattern += kStop;
    return pattern;
}

}  // namespace

std::string TKelBarcode::Code_93() {
    const auto pattern = encode93(Text());
    if (!pattern)
        Fail(":Code93 bad Data <" + Text() + ">");
    return PatternToModules(*pattern);
}

std::string TKelBarcode::Code_93Extended() {
    // Every mapped character has a value, so this cannot fail.
    const auto pattern = encode93(mapFullAscii(Text(), Code93ExtMap));
    if (!pattern)
        Fail(": internal Error");
    return PatternToModules(*pattern);
}
