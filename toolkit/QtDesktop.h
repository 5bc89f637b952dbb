#pragma once
// Desktop over Qt: message boxes, dialogs, clipboard and QDesktopServices.

#include "Desktop.h"

class QtDesktop : public Desktop {
public:
    void showMessage(const std::string& text) override;
    void showError(const std::string& text) override;
    std::optional<TFont> chooseFont(const TFont& initial) override;
    std::optional<std::string> chooseSaveFile(const SaveFileRequest& request) override;
    int execModal(QDialog& window) override;
    bool copyImageToClipboard(const QImage& picture) override;
    void openDocument(const std::string& target) override;
};
