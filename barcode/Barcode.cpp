#include "Barcode.h"

#include <climits>
#include <cmath>

#include "Bcchksum.h"

namespace {

// The clamped range of the wide-to-narrow ratio; 0 means not clamped.
constexpr double kNoClamp = 0.0;

}  // namespace

const std::array<TBCdata, BarcodeTypeCount> SymbologyInfo = {{
    {"bcCode_2_5_interleaved", "2_5_interleaved", true, 2.0, 3.0},
    {"bcCode_2_5_industrial", "2_5_industrial", true, 2.0, 3.0},
    {"bcCode_2_5_matrix", "2_5_matrix", true, 2.25, 3.0},
    {"bcCode39", "Code39", false, 2.0, 3.0},
    {"bcCode39Extended", "Code39 Extended", false, 2.0, 3.0},
    {"bcCode128A", "Code128A", false, kNoClamp, kNoClamp},
    {"bcCode128B", "Code128B", false, kNoClamp, kNoClamp},
    {"bcCode128C", "Code128C", true, kNoClamp, kNoClamp},
    {"bcCode93", "Code93", false, kNoClamp, kNoClamp},
    {"bcCode93Extended", "Code93 Extended", false, kNoClamp, kNoClamp},
    {"bcCodeMSI", "MSI", true, kNoClamp, kNoClamp},
    {"bcCodePostNet", "PostNet", true, kNoClamp, kNoClamp},
    {"bcCodeCodabar", "Codebar", false, 2.0, 3.0},
    {"bcCodeEAN8", "EAN8", true, 2.0, 3.0},
    {"bcCodeEAN13", "EAN13", true, 2.0, 3.0},
    {"bcCodeUPC_A", "UPC_A", true, 2.0, 3.0},
    {"bcCodeUPC_E0", "UPC_E0", true, 2.0, 3.0},
    {"bcCodeUPC_E1", "UPC_E1", true, 2.0, 3.0},
    {"bcCodeUPC_Supp2", "UPC Supp2", true, 2.0, 3.0},
    {"bcCodeUPC_Supp5", "UPC Supp5", true, 2.0, 3.0},
    {"bcCodeEAN128A", "EAN128A", false, kNoClamp, kNoClamp},
    {"bcCodeEAN128B", "EAN128B", false, kNoClamp, kNoClamp},
    {"bcCodeEAN128C", "EAN128C", true, kNoClamp, kNoClamp},
}};

std::optional<TBarcodeType> BarcodeTypeByName(std::string_view name) {
    auto sameIgnoringCase = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
            if (lower(a[i]) != lower(b[i]))
                return false;
        }
        return true;
    };
    for (int i = 0; i < BarcodeTypeCount; ++i)
        if (sameIgnoringCase(name, SymbologyInfo[i].Name) ||
            sameIgnoringCase(name, SymbologyInfo[i].DisplayName))
            return static_cast<TBarcodeType>(i);
    return std::nullopt;
}

TKelBarcode::TKelBarcode() = default;

void TKelBarcode::Fail(std::string_view suffix) const {
    std::string message = ClassName();
    message += suffix;
    throw EBarcodeError(message);
}

void TKelBarcode::Assign(const TKelBarcode& Source) {
    m_height = Source.m_height;
    m_text = Source.m_text;
    m_top = Source.m_top;
    m_left = Source.m_left;
    m_modul = Source.m_modul;
    m_ratio = Source.m_ratio;
    m_typ = Source.m_typ;
    m_checksum = Source.m_checksum;
    m_showText = Source.m_showText;
    m_angle = Source.m_angle;
    m_color = Source.m_color;
    m_colorBar = Source.m_colorBar;
    m_checkSumMethod = Source.m_checkSumMethod;
    m_onChange = Source.m_onChange;
}

void TKelBarcode::DoChange() {
    if (m_onChange)
        m_onChange(this);
}

// Setters: store and notify when the value differs.
namespace {
template <typename T>
bool store(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}
}  // namespace

void TKelBarcode::SetHeight(int value) { if (store(m_height, value)) DoChange(); }
void TKelBarcode::SetTop(int value) { if (store(m_top, value)) DoChange(); }
void TKelBarcode::SetLeft(int value) { if (store(m_left, value)) DoChange(); }
void TKelBarcode::SetTyp(TBarcodeType value) { if (store(m_typ, value)) DoChange(); }
void TKelBarcode::SetCheckSum(bool value) { if (store(m_checksum, value)) DoChange(); }
void TKelBarcode::SetShowText(TBarcodeOption value) { if (store(m_showText, value)) DoChange(); }
void TKelBarcode::SetShowTextPosition(TShowTextPosition value) {
    if (store(m_showTextPosition, value)) DoChange();
}

void TKelBarcode::SetText(std::string_view value) {
    if (m_text == value)
        return;
    m_text.assign(value);
    DoChange();
}

void TKelBarcode::SetRatio(double value) {
    // A NaN never equals itself; store it once, like any other change.
    if (m_ratio == value)
        return;
    m_ratio = value;
    DoChange();
}

void TKelBarcode::SetAngle(double value) {
    if (m_angle == value)
        return;
    m_angle = value;
    DoChange();
}

void TKelBarcode::SetModul(int value) {
    // Out-of-range widths are ignored; an in-range one always notifies.
    if (value < 1 || value > 49)
        return;
    m_modul = value;
    DoChange();
}

void TKelBarcode::SetShowTextFont(const TFont& value) {
    m_showTextFont = value;
    DoChange();
}

std::string TKelBarcode::GetTypText() const {
    if (m_typ >= BarcodeTypeCount)
        Fail(": wrong BarcodeType");
    return SymbologyInfo[m_typ].DisplayName;
}

bool TKelBarcode::IsNumberOnly() const {
    if (m_typ >= BarcodeTypeCount)
        Fail(": wrong BarcodeType");
    return SymbologyInfo[m_typ].NumericOnly;
}

void TKelBarcode::MakeModules() {
    if (m_typ < BarcodeTypeCount) {
        const TBCdata& info = SymbologyInfo[m_typ];
        if (info.RatioMin != kNoClamp) {
            // A ratio that is not a number counts as below the range.
            if (!(m_ratio >= info.RatioMin))
                SetRatio(info.RatioMin);
            if (m_ratio > info.RatioMax)
                SetRatio(info.RatioMax);
        }
    }
    // Round the exact product, not one already rounded to double:
    // Modul 10 at Ratio 2.45 is 24.500000000000002 and gives 25.
    // The result is clamped to int so that absurd ratios cannot overflow.
    const long double product = static_cast<long double>(m_modul) * static_cast<long double>(m_ratio);
    int w1 = 0;
    if (std::isnan(product))
        w1 = 0;
    else if (product >= 1e8L)
        w1 = 100000000;
    else if (product <= -1e8L)
        w1 = -100000000;
    else
        w1 = static_cast<int>(std::lrintl(product));  // half to even; no fenv save as in nearbyintl
    m_moduleWidths = {m_modul, w1, (3 * w1) / 2, 2 * w1};
}

void TKelBarcode::OneBarProps(char code, int& width, TBarLineType& line) const {
    int widthClass = 0;
    if (code >= '0' && code <= '3') {
        line = TBarLineType::white;
        widthClass = code - '0';
    } else if (code >= '5' && code <= '8') {
        line = TBarLineType::black;
        widthClass = code - '5';
    } else if (code >= 'A' && code <= 'D') {
        line = TBarLineType::black_half;
        widthClass = code - 'A';
    } else {
        Fail(": internal Error");
    }
    width = m_moduleWidths[widthClass];
}

std::string TKelBarcode::MakeData() {
    MakeModules();
    if (m_typ < BarcodeTypeCount && SymbologyInfo[m_typ].NumericOnly) {
        std::size_t first = 0;
        std::size_t last = m_text.size();
        while (first < last && static_cast<unsigned char>(m_text[first]) <= 0x20)
            ++first;
        while (last > first && static_cast<unsigned char>(m_text[last - 1]) <= 0x20)
            --last;
        if (first != 0 || last != m_text.size())
            m_text = m_text.substr(first, last - first);
        for (char c : m_text)
            if (c < '0' || c > '9')
                throw EBarcodeError("Barcode must be numeric");
    }
    switch (m_typ) {
    case bcCode_2_5_interleaved: return Code_2_5_interleaved();
    case bcCode_2_5_industrial: return Code_2_5_industrial();
    case bcCode_2_5_matrix: return Code_2_5_matrix();
    case bcCode39: return Code_39();
    case bcCode39Extended: return Code_39Extended();
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C: return Code_128();
    case bcCode93: return Code_93();
    case bcCode93Extended: return Code_93Extended();
    case bcCodeMSI: return Code_MSI();
    case bcCodePostNet: return Code_PostNet();
    case bcCodeCodabar: return Code_Codabar();
    case bcCodeEAN8: return Code_EAN8();
    case bcCodeEAN13: return Code_EAN13();
    case bcCodeUPC_A: return Code_UPC_A();
    case bcCodeUPC_E0: return Code_UPC_E0();
    case bcCodeUPC_E1: return Code_UPC_E1();
    case bcCodeUPC_Supp2: return Code_Supp2();
    case bcCodeUPC_Supp5: return Code_Supp5();
    }
    Fail(": wrong BarcodeType");
}

int TKelBarcode::GetWidth() {
    const std::string data = MakeData();
    // Summed in 64 bits and saturated: absurd module widths must not wrap.
    long long total = 0;
    for (char code : data) {
        int width = 0;
        TBarLineType line;
        OneBarProps(code, width, line);
        total += width;
    }
    if (total > INT32_MAX)
        return INT32_MAX;
    if (total < INT32_MIN)
        return INT32_MIN;
    return static_cast<int>(total);
}

void TKelBarcode::SetWidth(int value) {
    const int w = GetWidth();
    if (w > 0) {
        // 32-bit arithmetic with truncating division, as the width rule has it;
        // computed in 64 bits so that a huge Value cannot overflow.
        const long long modul = static_cast<long long>(m_modul) * value / w;
        if (modul >= 1 && modul <= 49)
            SetModul(static_cast<int>(modul));
    }
}

std::string TKelBarcode::DoCheckSumming(std::string_view data) const {
    if (m_checkSumMethod == csmModulo10)
        return CheckSumModulo10(data);
    return std::string(data);
}

std::string TKelBarcode::PatternToModules(std::string_view pattern) {
    std::string result(pattern);
    PatternToModulesInPlace(result);
    return result;
}

void TKelBarcode::PatternToModulesInPlace(std::string& pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char d = pattern[i];
        if (d < '1' || d > '4')
            throw EBarcodeError("TKelBarcode: internal Error");
        // Bars (odd positions counted from 1) become '5'..'8', spaces '0'..'3'.
        pattern[i] = static_cast<char>((i % 2 == 0 ? '5' : '0') + (d - '1'));
    }
}

std::string TKelBarcode::SetLen(std::uint8_t n) const {
    if (m_text.size() >= n)
        return m_text;
    return std::string(n - m_text.size(), '0') + m_text;
}
