#pragma once
// TAboutForm: the program's name and version and two links to the maker's
// web pages.  The main window shows it modally as the last act of closing.

#include <QPushButton>

#include "TLForm.h"
#include "Widgets.h"

class Desktop;

// The maker's pages that the two links open.
inline constexpr const char* ProductPageAddress = "https://halvex.example/barcode";
inline constexpr const char* EnquiryPageAddress = "https://halvex.example/enquiry";

class TAboutForm : public TLForm {
    Q_OBJECT

public:
    TAboutForm(QWidget* owner, Desktop& desktop);

    // Opens the enquiry page; the window stays open.
    void Label2Click();
    // Opens the product page.
    void noticeClick();
    void closeButtonClick();

    QWidget* Image1;
    QLabel* Label1;
    QLabel* Label7;
    QLabel* Label3;
    QLabel* Label4;
    TClickLabel* Label2;
    TWebLabel* notice;
    QPushButton* closeButton;

private:
    Desktop& desktop_;
};
