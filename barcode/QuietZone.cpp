#include "QuietZone.h"

TQuietZone StandardQuietZone(TBarcodeType type) {
    switch (type) {
    // ISO/IEC 16390 (interleaved 2 of 5); the industrial and matrix
    // variants follow the same 10 modules.
    case bcCode_2_5_interleaved:
    case bcCode_2_5_industrial:
    case bcCode_2_5_matrix: return {10, 10};
    // ISO/IEC 16388.
    case bcCode39:
    case bcCode39Extended: return {10, 10};
    // ISO/IEC 15417; GS1-128 keeps Code 128's.
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C: return {10, 10};
    // AIM USS Code 93.
    case bcCode93:
    case bcCode93Extended: return {10, 10};
    // MSI (Modified Plessey): 12 modules, as most printers of it use.
    case bcCodeMSI: return {12, 12};
    // USPS DMM 708.4: 1/8 inch beside the bars; at PostNet's bar pitch of
    // two modules (1/22 inch) that is about 6 modules.
    case bcCodePostNet: return {6, 6};
    // ANSI/AIM BC3 (Codabar): 10 modules.
    case bcCodeCodabar: return {10, 10};
    // GS1 standard, figure 5.2.2.4.1 (EAN/UPC quiet zones).
    case bcCodeEAN8: return {7, 7};
    case bcCodeEAN13: return {11, 7};
    case bcCodeUPC_A: return {9, 9};
    case bcCodeUPC_E0:
    case bcCodeUPC_E1: return {9, 7};
    // An add-on alone: the 7-module gap before it and 5 modules after.
    case bcCodeUPC_Supp2:
    case bcCodeUPC_Supp5: return {7, 5};
    }
    return {10, 10};
}
