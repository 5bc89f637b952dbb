#pragma once
// The user-facing services that block or leave the program: message boxes,
// the standard error display, the font and save dialogs, modal windows, the
// clipboard and the desktop shell.  Windows take a Desktop so that tests can
// pass a fake that records what would have been shown and answers dialogs.
// Texts are bytes in the program's single-byte code page.

#include <optional>
#include <string>

#include "Font.h"

class QDialog;
class QImage;

class Desktop {
public:
    virtual ~Desktop() = default;

    // A modal message box with an OK button.
    virtual void showMessage(const std::string& text) = 0;
    // The application's standard error display for a failed command.
    virtual void showError(const std::string& text) = 0;

    // The font dialog with its effects section (underline, strike-out,
    // colour) and an Apply button that does nothing; nullopt on Cancel.
    virtual std::optional<TFont> chooseFont(const TFont& initial) = 0;

    struct SaveFileRequest {
        std::string title;
        // Choices as "Name (*.ext)|*.ext|Name (*.ext)|*.ext".
        std::string filter;
        // Added to a name typed without one, e.g. ".jpg".
        std::string defaultExtension;
    };
    // The save-file dialog; the chosen path as bytes, nullopt on Cancel.
    virtual std::optional<std::string> chooseSaveFile(const SaveFileRequest& request) = 0;

    // Shows a window modally and returns its result code once it closes.
    virtual int execModal(QDialog& window) = 0;

    // Replaces the clipboard's contents with a picture; false when the
    // clipboard cannot be opened.
    virtual bool copyImageToClipboard(const QImage& picture) = 0;

    // The shell's "open" of a document (a path, relative to the current
    // folder) or a web address.  The outcome is not examined.
    virtual void openDocument(const std::string& target) = 0;
};
