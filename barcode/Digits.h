#pragma once
// Digit access shared by the numeric encoders.  MakeData refuses non-digits
// before an encoder runs; an encoder called directly must still never index
// a table with anything else.

#include "BarcodeError.h"

inline int digitValue(char c) {
    if (c < '0' || c > '9')
        throw EBarcodeError("Barcode must be numeric");
    return c - '0';
}
