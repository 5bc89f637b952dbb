#pragma once
// A scripted Desktop for window tests: records every message, error,
// dialog, modal window, clipboard picture and shell request, and answers
// the dialogs from queues the test fills.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>
#include <QImage>

#include "Desktop.h"

class FakeDesktop : public Desktop {
public:
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> openedDocuments;
    std::vector<SaveFileRequest> saveRequests;
    std::vector<TFont> fontRequests;      // the initial font of each font dialog
    std::vector<QString> modalWindows;    // objectName of each window shown modally
    std::vector<QImage> clipboardImages;

    std::deque<std::optional<TFont>> fontAnswers;          // empty: Cancel
    std::deque<std::optional<std::string>> saveAnswers;    // empty: Cancel
    bool clipboardAvailable = true;
    // Runs while a window is shown modally (for example to press its
    // buttons); the window is closed afterwards if it is still open.
    std::function<void(QDialog&)> whileModal;
    int modalResult = QDialog::Rejected;

    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showError(const std::string& text) override { errors.push_back(text); }

    std::optional<TFont> chooseFont(const TFont& initial) override {
        fontRequests.push_back(initial);
        if (fontAnswers.empty())
            return std::nullopt;
        auto answer = fontAnswers.front();
        fontAnswers.pop_front();
        return answer;
    }

    std::optional<std::string> chooseSaveFile(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        if (saveAnswers.empty())
            return std::nullopt;
        auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    int execModal(QDialog& window) override {
        modalWindows.push_back(window.objectName());
        if (whileModal)
            whileModal(window);
        return modalResult;
    }

    bool copyImageToClipboard(const QImage& picture) override {
        if (!clipboardAvailable)
            return false;
        clipboardImages.push_back(picture);
        return true;
    }

    void openDocument(const std::string& target) override { openedDocuments.push_back(target); }
};
