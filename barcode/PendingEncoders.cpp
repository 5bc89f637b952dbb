// Encoders that are not written yet answer with a clear error instead of an
// empty symbol.  Each one leaves this file when its real encoder arrives.

#include "Barcode.h"

#define HALVEX_PENDING(name) \
    std::string TKelBarcode::name() { Fail(": " #name " is not available yet"); }

HALVEX_PENDING(Code_2_5_interleaved)
HALVEX_PENDING(Code_2_5_industrial)
HALVEX_PENDING(Code_2_5_matrix)
HALVEX_PENDING(Code_39)
HALVEX_PENDING(Code_39Extended)
HALVEX_PENDING(Code_93)
HALVEX_PENDING(Code_93Extended)
HALVEX_PENDING(Code_MSI)
HALVEX_PENDING(Code_PostNet)
HALVEX_PENDING(Code_Codabar)
HALVEX_PENDING(Code_EAN8)
HALVEX_PENDING(Code_EAN13)
HALVEX_PENDING(Code_UPC_A)
HALVEX_PENDING(Code_UPC_E0)
HALVEX_PENDING(Code_UPC_E1)
HALVEX_PENDING(Code_Supp2)
HALVEX_PENDING(Code_Supp5)
