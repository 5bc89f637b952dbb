// Result::text() as UTF-8, the coming default; we read bytes() anyway.
#define ZX_USE_UTF8 1

#include "ScanCheck.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <utility>

#include <ZXing/DecodeHints.h>
#include <ZXing/ReadBarcode.h>

#include "QuietZone.h"

namespace {

// Interleaved 2 of 5 has no length of its own in the symbol, so readers
// refuse short reads, which are mostly fragments of other symbols; zxing
// takes 6 digits and more, as most scanners do by default.
constexpr std::size_t kFewestInterleavedDigits = 6;

// The symbologies no decoder of ours reads, by the names users know them by.
const char* undecodableName(TBarcodeType type) {
    switch (type) {
    case bcCode_2_5_industrial: return "Industrial 2 of 5";
    case bcCode_2_5_matrix: return "Matrix 2 of 5";
    case bcCodeMSI: return "MSI";
    case bcCodePostNet: return "PostNet";
    case bcCodeUPC_Supp2: return "a 2-digit add-on alone";
    case bcCodeUPC_Supp5: return "a 5-digit add-on alone";
    default: return nullptr;
    }
}

ZXing::BarcodeFormat formatOf(TBarcodeType type) {
    using F = ZXing::BarcodeFormat;
    switch (type) {
    case bcCode_2_5_interleaved: return F::ITF;
    case bcCode39:
    case bcCode39Extended: return F::Code39;
    case bcCode93:
    case bcCode93Extended: return F::Code93;
    case bcCodeCodabar: return F::Codabar;
    case bcCodeEAN8: return F::EAN8;
    case bcCodeEAN13: return F::EAN13;
    case bcCodeUPC_A: return F::UPCA;
    case bcCodeUPC_E0:
    case bcCodeUPC_E1: return F::UPCE;
    default: return F::Code128;
    }
}

bool isDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A component set up to answer the engine's own questions.
struct Probe {
    explicit Probe(const ScanSubject& subject) {
        barcode.SetTyp(subject.symbology);
        barcode.SetCheckSumMethod(subject.checkSumMethod);
    }
    std::string checkSummed(std::string_view digits) const { return barcode.DoCheckSumming(digits); }
    // The module string of a one-character value, without check characters.
    std::string modulesOf(std::string_view text) {
        barcode.SetCheckSum(false);
        barcode.SetText(text);
        return barcode.MakeData();
    }
    TKelBarcode barcode;
};

// The distinct characters of `text` that the encoder draws nothing for.
std::string skippedCharacters(const ScanSubject& subject) {
    Probe probe(subject);
    const std::string nothing = probe.modulesOf("");
    std::string skipped;
    for (char c : subject.shown)
        if (skipped.find(c) == std::string::npos && probe.modulesOf(std::string(1, c)) == nothing)
            skipped += c;
    return skipped;
}

// The distinct characters Code 128 A or B has no code for; they are drawn
// as the code of a space.
std::string charactersAsSpaces(const ScanSubject& subject) {
    const bool setA = subject.symbology == bcCode128A || subject.symbology == bcCodeEAN128A;
    const unsigned last = setA ? 95 : 126;
    std::string out;
    for (char c : subject.shown) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 32 || byte > last) && out.find(c) == std::string::npos)
            out += c;
    }
    return out;
}

// `whole` is `tail` with zeros put in front.
bool zerosThen(const std::string& whole, const std::string& tail) {
    return whole.size() > tail.size() && whole.compare(whole.size() - tail.size(), tail.size(), tail) == 0 &&
           std::all_of(whole.begin(), whole.end() - std::ptrdiff_t(tail.size()), [](char c) { return c == '0'; });
}

// EAN and UPC: how the typed digits became the `drawn` ones, by padding
// alone or by completion to the core digits and a check digit.
void completionNotes(const std::string& typed, const std::string& drawn, std::vector<ScanNote>& notes) {
    if (typed == drawn || drawn.empty() || !isDigits(typed))
        return;
    if (zerosThen(drawn, typed)) {
        notes.push_back({ScanNote::Padded, {}, {}});
        return;
    }
    const std::string core = drawn.substr(0, drawn.size() - 1);
    if (typed.size() > core.size() && typed.compare(0, core.size(), core) == 0)
        notes.push_back({ScanNote::Cut, typed.substr(core.size()), {}});
    else if (zerosThen(core, typed))
        notes.push_back({ScanNote::Padded, {}, {}});
    else if (typed != core)
        return;  // not a completion the engine made
    notes.push_back({ScanNote::CheckDigit, std::string(1, drawn.back()), {}});
}

// `padded` is the value as drawn; its last digit is the check digit when it
// equals the one computed from the others.
bool checkDigitRight(const Probe& probe, const std::string& padded, std::vector<ScanNote>& notes) {
    const std::string right = probe.checkSummed(std::string_view(padded).substr(0, padded.size() - 1));
    if (right == padded)
        return true;
    notes.push_back({ScanNote::NotCheckDigit, std::string(1, padded.back()), std::string(1, right.back())});
    return false;
}

std::string padded(const std::string& text, std::size_t n) {
    return text.size() >= n ? text : std::string(n - text.size(), '0') + text;
}

std::string formatAngle(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", degrees);
    return text;
}

// The picture on a background of the symbology's quiet zone on every side,
// in grey levels.
QImage withQuietZone(const QImage& picture, const ScanSubject& subject) {
    const TQuietZone zone = StandardQuietZone(subject.symbology);
    const int margin = std::max(zone.Left, zone.Right) * std::max(1, subject.modul);
    QImage framed(picture.width() + 2 * margin, picture.height() + 2 * margin, QImage::Format_RGB32);
    framed.fill(QColor::fromRgb(QRgb(0xFF000000u | (subject.background & 0xFFFFFFu))));
    {
        QPainter painter(&framed);
        painter.drawImage(margin, margin, picture);
    }
    return framed.convertToFormat(QImage::Format_Grayscale8);
}

std::optional<std::string> decode(const QImage& grey, const ScanSubject& subject) {
    ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                          int(grey.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(formatOf(subject.symbology));
    hints.setTryHarder(true);
    hints.setTryRotate(std::fmod(std::fabs(subject.angle), 180.0) != 0.0);
    hints.setTryCode39ExtendedMode(subject.symbology == bcCode39Extended);
    // The engine's Code 39 check character is read and taken off, as
    // scanners set up for it do.
    hints.setValidateCode39CheckSum(subject.checksum &&
                                    (subject.symbology == bcCode39 || subject.symbology == bcCode39Extended));
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid())
        return std::nullopt;
    const ZXing::ByteArray& bytes = result.bytes();
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

ScanResult expectedScan(const ScanSubject& subject) {
    ScanResult result;
    result.outcome = ScanOutcome::Scans;
    if (const char* name = undecodableName(subject.symbology)) {
        result.outcome = ScanOutcome::CannotBeChecked;
        result.notes.push_back({ScanNote::NoDecoder, name, {}});
        return result;
    }
    if (!std::isfinite(subject.angle) || std::fmod(subject.angle, 90.0) != 0.0) {
        result.outcome = ScanOutcome::CannotBeChecked;
        result.notes.push_back({ScanNote::Turned, formatAngle(subject.angle), {}});
        return result;
    }

    const std::string& shown = subject.shown;
    result.expected = shown;
    Probe probe(subject);
    switch (subject.symbology) {
    case bcCode39:
    case bcCode39Extended:
    case bcCode93Extended:
        if (std::string skipped = skippedCharacters(subject); !skipped.empty())
            result.notes.push_back({ScanNote::Skipped, skipped, {}});
        break;
    case bcCode128A:
    case bcCode128B:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
        if (std::string spaces = charactersAsSpaces(subject); !spaces.empty())
            result.notes.push_back({ScanNote::AsSpaces, spaces, {}});
        if (subject.checksum && subject.checkSumMethod == csmModulo10 && subject.symbology != bcCode128A &&
            subject.symbology != bcCode128B) {
            result.expected = probe.checkSummed(shown);
            result.notes.push_back({ScanNote::CheckDigit, result.expected.substr(shown.size()), {}});
        }
        break;
    case bcCode128C:
    case bcCodeEAN128C: {
        // Code set C takes digit pairs: an odd count gets a leading 0, which
        // plain Code 128C keeps in the value shown and EAN-128C with its
        // check digit puts in the bars only.
        if (subject.symbology == bcCodeEAN128C && subject.checksum && subject.checkSumMethod == csmModulo10) {
            std::string value = probe.checkSummed(shown);
            result.notes.push_back({ScanNote::CheckDigit, value.substr(shown.size()), {}});
            if (value.size() % 2 == 1) {
                value.insert(value.begin(), '0');
                result.notes.push_back({ScanNote::LeadingZero, {}, {}});
            }
            result.expected = value;
        } else if (shown.size() % 2 == 1) {
            result.expected = "0" + shown;
            result.notes.push_back({ScanNote::LeadingZero, {}, {}});
        } else if (shown.size() == subject.typed.size() + 1 && shown == "0" + subject.typed) {
            result.notes.push_back({ScanNote::LeadingZero, {}, {}});
        }
        break;
    }
    case bcCode_2_5_interleaved:
        if (shown.size() % 2 == 1)
            result.notes.push_back({ScanNote::LastDigitDropped, shown.substr(shown.size() - 1), {}});
        if (shown.size() / 2 * 2 < kFewestInterleavedDigits)
            result.notes.push_back({ScanNote::TooShort, std::to_string(kFewestInterleavedDigits), {}});
        break;
    case bcCodeEAN13:
    case bcCodeEAN8:
    case bcCodeUPC_A: {
        const std::size_t length = subject.symbology == bcCodeEAN13 ? 13 : subject.symbology == bcCodeEAN8 ? 8 : 12;
        // What the encoder draws for the value shown.
        std::string drawn;
        if (subject.checksum && subject.symbology == bcCodeEAN8) {
            const std::string seven = padded(shown, length - 1);
            drawn = probe.checkSummed(std::string_view(seven).substr(seven.size() - 7));
        } else if (subject.checksum) {
            drawn = probe.checkSummed(padded(shown, length - 1).substr(0, length - 1));
        } else {
            drawn = padded(shown, length);
        }
        result.expected = drawn;
        completionNotes(subject.typed, drawn, result.notes);
        if (!subject.checksum && drawn.size() == length && isDigits(drawn))
            checkDigitRight(probe, drawn, result.notes);
        break;
    }
    case bcCodeUPC_E0:
    case bcCodeUPC_E1: {
        // The number system and check digit are not drawn as digits; the
        // parity of the six digits carries them, and scanners read all eight.
        const char system = subject.symbology == bcCodeUPC_E1 ? '1' : '0';
        const std::string six = shown.substr(0, 6);
        Probe upce(subject);
        upce.barcode.SetCheckSum(true);
        upce.barcode.SetText(six);
        upce.barcode.MakeData();
        const std::string withCheck = upce.barcode.Text();  // six digits and the check digit
        result.expected = system + withCheck;
        if (!subject.checksum && shown.size() == 7 && shown.back() != withCheck.back()) {
            result.notes.push_back({ScanNote::NotCheckDigit, shown.substr(6), withCheck.substr(6)});
            result.expected = system + shown;
        }
        break;
    }
    default: break;
    }
    return result;
}

ScanResult checkScan(const QImage& picture, const ScanSubject& subject) {
    ScanResult result;
    try {
        result = expectedScan(subject);
    } catch (const EBarcodeError&) {
        // A value the engine refuses has no picture to check.
        result.outcome = ScanOutcome::DoesNotScan;
        return result;
    }
    if (result.outcome == ScanOutcome::CannotBeChecked)
        return result;
    if (picture.isNull()) {
        result.outcome = ScanOutcome::DoesNotScan;
        return result;
    }
    const std::optional<std::string> read = decode(withQuietZone(picture, subject), subject);
    if (!read)
        result.outcome = ScanOutcome::DoesNotScan;
    else if (*read == result.expected)
        result.outcome = ScanOutcome::Scans;
    else
        result.outcome = ScanOutcome::ScansDifferently;
    if (read)
        result.read = *read;
    // Readers that take it refute the note that they would not.
    if (result.outcome == ScanOutcome::Scans)
        std::erase_if(result.notes, [](const ScanNote& note) { return note.kind == ScanNote::TooShort; });
    return result;
}

// --- Wording -----------------------------------------------------------------

const std::array<ScanText, 18> ScanTexts = {{
    {"ScanOk", "Scans: a scanner reads {read}."},
    {"ScanOkWhy", "Scans: a scanner reads {read} ({why})."},
    {"ScanFails", "Does not scan."},
    {"ScanFailsWhy", "Does not scan: {why}."},
    {"ScanDiffers", "Scans as {read}, not as {expected}."},
    {"ScanDiffersWhy", "Scans as {read}, not as {expected}: {why}."},
    {"ScanUnchecked", "Cannot be checked: {why}."},
    {"ScanWhySkipped", "{text} cannot be encoded and is left out"},
    {"ScanWhyAsSpaces", "{text} is not in the code set and is drawn as a space"},
    {"ScanWhyLastDigit", "the last digit {text} has no partner and is not drawn"},
    {"ScanWhyLeadingZero", "a 0 is put in front to make digit pairs"},
    {"ScanWhyPadded", "padded with zeros"},
    {"ScanWhyCut", "the excess digits {text} are dropped"},
    {"ScanWhyCheckDigit", "check digit {text} added"},
    {"ScanWhyNotCheckDigit", "the last digit {text} is not the check digit {other}"},
    {"ScanWhyTooShort", "readers take Interleaved 2 of 5 from {text} digits"},
    {"ScanWhyTurned", "no decoder reads bars turned by {text} degrees"},
    {"ScanWhyNoDecoder", "no decoder reads {text}"},
}};

std::string builtInScanText(std::string_view key) {
    for (const ScanText& text : ScanTexts)
        if (key == text.key)
            return text.text;
    return {};
}

namespace {

// The pattern with each {name} replaced, in one pass, so that a value
// holding braces is never taken for a placeholder.
std::string fill(std::string_view pattern,
                 std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        bool replaced = false;
        if (pattern[i] == '{') {
            for (const auto& [name, value] : values) {
                if (pattern.substr(i + 1, name.size()) == name && pattern.substr(i + 1 + name.size(), 1) == "}") {
                    out += value;
                    i += name.size() + 2;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += pattern[i++];
    }
    return out;
}

const char* noteKey(ScanNote::Kind kind) {
    switch (kind) {
    case ScanNote::Skipped: return "ScanWhySkipped";
    case ScanNote::AsSpaces: return "ScanWhyAsSpaces";
    case ScanNote::LastDigitDropped: return "ScanWhyLastDigit";
    case ScanNote::LeadingZero: return "ScanWhyLeadingZero";
    case ScanNote::Padded: return "ScanWhyPadded";
    case ScanNote::Cut: return "ScanWhyCut";
    case ScanNote::CheckDigit: return "ScanWhyCheckDigit";
    case ScanNote::NotCheckDigit: return "ScanWhyNotCheckDigit";
    case ScanNote::TooShort: return "ScanWhyTooShort";
    case ScanNote::Turned: return "ScanWhyTurned";
    case ScanNote::NoDecoder: return "ScanWhyNoDecoder";
    }
    return "";
}

}  // namespace

std::string describeScan(const ScanResult& result, const ScanTextLookup& text) {
    std::string why;
    for (const ScanNote& note : result.notes) {
        if (!why.empty())
            why += "; ";
        why += fill(text(noteKey(note.kind)), {{"text", note.text}, {"other", note.other}});
    }
    const char* key = "";
    switch (result.outcome) {
    case ScanOutcome::Scans: key = why.empty() ? "ScanOk" : "ScanOkWhy"; break;
    case ScanOutcome::DoesNotScan: key = why.empty() ? "ScanFails" : "ScanFailsWhy"; break;
    case ScanOutcome::ScansDifferently: key = why.empty() ? "ScanDiffers" : "ScanDiffersWhy"; break;
    case ScanOutcome::CannotBeChecked: key = "ScanUnchecked"; break;
    }
    return fill(text(key), {{"read", result.read}, {"expected", result.expected}, {"why", why}});
}
