#pragma once
// The main window's symbology list: what each item of `type` stands for.

#include <array>

#include "Barcode.h"

struct BarcodeTypeRow {
    const char* ItemText;    // the item as the list shows it
    TBarcodeType Type;
    bool UpperCase;          // the value is upper-cased when gathered
    bool DigitsOnly;         // the value must be all decimal digits
    int CompletedTo;         // digits before the check digit; 0 = not completed
    int ValueFontSize;       // points set by a change of symbology; 0 = unchanged
};

inline constexpr std::array<BarcodeTypeRow, 9> BarcodeTypeOfIndex{{
    {"Code 128B", bcCode128B, false, false, 0, 12},
    {"EAN128", bcCodeEAN128B, false, false, 0, 12},
    {"Code 39", bcCode39, true, false, 0, 12},
    {"Code 93", bcCode93, true, false, 0, 12},
    {"Code 25", bcCode_2_5_interleaved, true, true, 0, 8},
    {"EAN13", bcCodeEAN13, true, true, 12, 8},
    {"EAN8", bcCodeEAN8, true, true, 7, 10},
    {"UPC_A", bcCodeUPC_A, true, true, 11, 10},
    {"Code 128C", bcCode128C, true, true, 0, 0},
}};

// The row of an item index, or nullptr when nothing (or no valid item) is
// selected.
inline const BarcodeTypeRow* barcodeTypeRow(int index) {
    if (index < 0 || index >= int(BarcodeTypeOfIndex.size())) return nullptr;
    return &BarcodeTypeOfIndex[std::size_t(index)];
}

// Only the two free-text symbologies keep the value's case; with no
// selection the value is upper-cased too.
inline bool upperCasesValue(int index) {
    const BarcodeTypeRow* row = barcodeTypeRow(index);
    return row == nullptr || row->UpperCase;
}
