#pragma once
#include <stdexcept>
#include <string>

// The one exception type of the engine; what() is the message the user sees.
class EBarcodeError : public std::runtime_error {
public:
    explicit EBarcodeError(const std::string& message) : std::runtime_error(message) {}
};
