#pragma once
// The clear space each symbology's standard asks for on either side of the
// bars, in narrow modules.

#include "Barcode.h"

struct TQuietZone {
    int Left = 0;
    int Right = 0;
    bool operator==(const TQuietZone&) const = default;
};

TQuietZone StandardQuietZone(TBarcodeType type);
