#pragma once
// TPrintPreviewForm: the window that shows the print document page by page
// and prints it.  Its caller clears nothing and sets nothing up: the window
// arrives with one blank page on 5 mm margins; the caller draws on
// GmPreview1's canvas, shows the window modally and destroys it.
//
// The window keeps no state of its own: the page count and current page
// live in GmPreview1, the current printer in the program's one TGmPrinter,
// so a printer chosen here is still chosen the next time the window opens.

#include "GmPreview.h"
#include "TLForm.h"

class Desktop;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

class TPrintPreviewForm : public TLForm {
    Q_OBJECT

public:
    // The modal result of Close and of the close box.
    static constexpr int ModalResultCancel = 2;

    // The desktop answers the messages, the error display and the PDF
    // printer's save dialog.
    explicit TPrintPreviewForm(Desktop& desktop, QWidget* owner = nullptr);
    ~TPrintPreviewForm() override;

    // Handlers, named after their control and event.
    void FormShow();
    void uFirstClick();
    void uPreviousClick();
    void uNextClick();
    void uLastClick();
    void zoomInClick();
    void zoomOutClick();
    // Called with every character typed into the From box; Enter (13) is
    // acted on and set to 0, which keeps it out of the box.
    void fromPageKeyPress(char& key);
    void printButtonClick();

    // Controls, created in design order (the language file's key order).
    QFrame* Panel3 = nullptr;
    QLabel* Label11 = nullptr;
    QComboBox* printer = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* fromPage = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* toPage = nullptr;
    QPushButton* zoomOut = nullptr;
    QPushButton* zoomIn = nullptr;
    QPushButton* uFirst = nullptr;
    QPushButton* uPrevious = nullptr;
    QPushButton* uNext = nullptr;
    QPushButton* uLast = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* printButton = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    TGmPreview* GmPreview1 = nullptr;

    // The text of status bar panel 0 or 1.
    QString statusPanelText(int panel) const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    // Close and the close box end the modal state with Cancel.
    void reject() override;

private:
    void createControls();
    void arrangeControls();
    void connectHandlers();
    void showPageNumber();
    void enableStepButtons();
    void setStatusPanel(int panel, const QString& text);

    Desktop& desktop;
    QLabel* statusPanels[2] = {nullptr, nullptr};
};
