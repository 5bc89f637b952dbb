#pragma once
// Desktop over Qt's message boxes.

#include "Desktop.h"

class QtDesktop : public Desktop {
public:
    void showMessage(const std::string& text) override;
    void showError(const std::string& text) override;
};
