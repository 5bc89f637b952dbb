#pragma once
// The composed picture as a vector file: SVG or PDF painted from the same
// layout as the image, so bars land on the same pixel grid, now as exact
// rectangles, and the text stays text.  One picture pixel is 1/dpi inch.

#include <string>

#include "Composition.h"

// The whole file's bytes; throws EBarcodeError as composePicture does.
std::string encodeSvg(const PictureInputs& inputs, TKelBarcode& barcode, int dpi);
std::string encodePdf(const PictureInputs& inputs, TKelBarcode& barcode, int dpi);
