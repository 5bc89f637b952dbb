#pragma once
#include <string>
#include <string_view>

// Data followed by its modulo-10 check digit (weights 3, 1, 3, ... from the
// right).  Throws EBarcodeError on a character that is not a decimal digit.
std::string CheckSumModulo10(std::string_view Data);
