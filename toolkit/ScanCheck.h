#pragma once
// The scan check: decodes a composed barcode picture as a scanner would
// (zxing-cpp), with the symbology's quiet zone added around a copy of it,
// and says whether the symbol reads back as the value shown under the bars,
// and, where the engine knows, why not: characters it cannot encode left
// out, an odd digit of Interleaved 2 of 5 not drawn, padding and check
// digits added.  The picture itself is never touched.

#include <QImage>

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Barcode.h"

enum class ScanOutcome {
    Scans,             // reads as the value shown (read holds what a scanner reads)
    DoesNotScan,       // nothing reads
    ScansDifferently,  // reads, but as something other than the value shown
    CannotBeChecked,   // no decoder reads this symbology, or not at this angle
};

// What the engine did to the value on its way into the bars, or why the
// symbol could not be checked.  `text` and `other` fill the placeholders of
// the note's wording (see ScanTexts).
struct ScanNote {
    enum Kind {
        Skipped,           // {text}: characters the symbology cannot encode, left out
        AsSpaces,          // {text}: characters outside the code set, drawn as spaces
        LastDigitDropped,  // {text}: the odd digit of Interleaved 2 of 5
        LeadingZero,       // a 0 put in front to make digit pairs
        Padded,            // zeros put in front up to the symbology's length
        Cut,               // {text}: the digits beyond the symbology's length, dropped
        CheckDigit,        // {text}: the check digit added
        NotCheckDigit,     // {text}: the last digit; {other}: the right check digit
        TooShort,          // {text}: the fewest digits readers take
        Turned,            // {text}: the angle in degrees
        NoDecoder,         // {text}: the symbology's name
    };
    Kind kind;
    std::string text;
    std::string other;
    bool operator==(const ScanNote&) const = default;
};

// What the check needs besides the picture.
struct ScanSubject {
    TBarcodeType symbology = bcCode128B;
    std::string typed;  // the value as given, before any completion
    std::string shown;  // the barcode's Text after drawing: the value under the bars
    bool checksum = false;
    TCheckSumMethod checkSumMethod = csmModulo10;
    int modul = 1;       // narrow module in pixels: the quiet zone's unit
    double angle = 0.0;  // degrees
    TColor background = clWhite;
};

struct ScanResult {
    ScanOutcome outcome = ScanOutcome::DoesNotScan;
    std::string read;      // what the decoder read
    std::string expected;  // what a scanner should read for the value shown
    std::vector<ScanNote> notes;
};

// Decodes `picture` (as composed, without a quiet zone or with one) for
// `subject`.  Safe to call from several threads at once.
ScanResult checkScan(const QImage& picture, const ScanSubject& subject);

// The barcode's side of the check alone: what a scanner should read for the
// value shown, and what the engine did to the typed value.  Used by
// checkScan; exposed for tests.
ScanResult expectedScan(const ScanSubject& subject);

// The wording of the outcome: a key (the window's language-file key) and the
// built-in English text, with {placeholders}: {read}, {expected}, {why} in
// the outcome lines and {text}, {other} in the notes.
struct ScanText {
    const char* key;
    const char* text;
};
extern const std::array<ScanText, 18> ScanTexts;

// A key's text: the window passes its translated texts, the command line
// the built-in ones.
using ScanTextLookup = std::function<std::string(std::string_view key)>;
std::string builtInScanText(std::string_view key);

// The outcome as one line of text.
std::string describeScan(const ScanResult& result, const ScanTextLookup& text = builtInScanText);
