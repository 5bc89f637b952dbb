#pragma once
// TBarCodeForm: the main window.  Its controls hold the user's inputs; it
// owns the program's barcode component, keeps the settings record, composes
// the preview picture and runs the output commands.  Every dialog and
// message goes through the Desktop it is given.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Barcode.h"
#include "Desktop.h"
#include "ScanCheck.h"
#include "Settings.h"
#include "TLForm.h"
#include "Widgets.h"

class TBarCodeForm : public TLForm, public SettingsControls {
    Q_OBJECT

public:
    // Builds the window, applies the language file and the settings file
    // (or the defaults), and composes the first picture.
    explicit TBarCodeForm(Desktop& desktop, QWidget* owner = nullptr);
    ~TBarCodeForm() override;

    // Commands, each also reachable from its button.
    void previewButtonClick();
    void typeChange();
    void fontButtonClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void printButtonClick();
    void copyButtonClick();
    void saveButtonClick();
    void helpButtonClick();
    void aboutButtonClick();
    void exitButtonClick();

    // False (after the message, with the value emptied and focused) when
    // the value holds anything but the digits 0 to 9.
    bool CheckNumericValue();

    // The last picture composed by a successful preview; null before one.
    const QImage& Picture() const { return image->Picture(); }
    TKelBarcode& Barcode() { return barcode; }
    // Whether the last successful preview's symbol scans, as the line under
    // the picture tells it.
    const ScanResult& ScanCheck() const { return scanCheck_; }
    const TBarcodeSettings& Settings() const { return settings_.record(); }

    // SettingsControls
    int typeIndex() const override;
    void setTypeIndex(int index) override;
    std::string heightText() const override;
    void setHeightText(const std::string& text) override;
    void setHeightPosition(std::int16_t position) override;
    std::string valueText() const override;
    void setValueText(const std::string& text) override;
    bool displayChecked() const override;
    void setDisplayChecked(bool checked) override;
    std::string line1Text() const override;
    void setLine1Text(const std::string& text) override;
    std::string line2Text() const override;
    void setLine2Text(const std::string& text) override;
    TFont font(SettingsFont which) const override;
    void setFont(SettingsFont which, const TFont& font) override;
    void setShowTextFont(const TFont& font) override;

    // Controls, in design order.
    QLabel* Label28;
    QComboBox* type;
    QLabel* Label9;
    QLineEdit* height;
    TUpDown* heightUpDown;
    QLabel* Label14;
    QCheckBox* display;
    QLabel* Label7;
    QLineEdit* value;
    QPushButton* fontButton;
    QLabel* Label1;
    QLineEdit* line1;
    QPushButton* BitBtn1;
    QLabel* Label2;
    QLineEdit* line2;
    QPushButton* BitBtn2;
    QFrame* Panel1;
    TPictureView* image;
    QPushButton* previewButton;
    QPushButton* printButton;
    QPushButton* copyButton;
    QPushButton* saveButton;
    QPushButton* helpButton;
    QPushButton* aboutButton;
    QPushButton* exitButton;
    // The scan check's line under the picture.  Not a component: its text
    // changes with every preview, so it has no caption in the language
    // file; the wording of its parts has keys of its own (ScanTexts).
    QLabel* scanResult;

    // What the save command asks the file dialog for.
    const Desktop::SaveFileRequest SaveDialog1;

signals:
    // The window has closed for good: settings saved, About window shown.
    void formClosed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window like its close box.
    void reject() override;
    // Enter presses the focused button and nothing else.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void FormShow();
    void FormClose();
    // The font dialog for one of the three fonts; true when confirmed.
    bool changeFont(SettingsFont which);
    QLineEdit* fontTarget(SettingsFont which) const;
    void showScanCheck(const std::string& typed);

    Desktop& desktop_;
    TKelBarcode barcode;
    SettingsStore settings_;
    TFont fonts_[3];
    bool closed_ = false;
    ScanResult scanCheck_;
};
