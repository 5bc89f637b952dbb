#pragma once
// The user-facing services that block or leave the program: message boxes
// and the standard error display.  Windows take a Desktop so that tests can
// pass a fake that records what would have been shown.  Plain C++: texts
// are bytes in the program's single-byte code page.

#include <string>

class Desktop {
public:
    virtual ~Desktop() = default;

    // A modal message box with an OK button.
    virtual void showMessage(const std::string& text) = 0;
    // The application's standard error display for a failed command.
    virtual void showError(const std::string& text) = 0;
};
