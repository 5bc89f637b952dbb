#pragma once
// Small controls of the program's windows that Qt has no direct match for:
// an up-down spinner bound to an edit box, a picture area, a label that
// reacts to a click, and a web-link label.

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <functional>

class QLineEdit;
class QToolButton;

// Two arrow buttons that step the number in a buddy edit box between Min
// and Max without wrapping.  The edit stays free text: a text that is not a
// number steps from the last position.
class TUpDown : public QWidget {
public:
    TUpDown(QLineEdit* buddy, int min, int max, int position, QWidget* parent = nullptr);

    int Position() const { return position_; }
    // Kept within Min..Max; the buddy's text is left as it is.
    void SetPosition(int position);
    // One step up (+1) or down (-1) from the buddy's number, written back
    // into the buddy.
    void Step(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* buddy_;
    int min_, max_, position_;
    QToolButton* up_;
    QToolButton* down_;
};

// Shows a picture at its own size from its top-left corner; whatever lies
// outside the widget (or its parent) is cut off.  Not a label, so the
// language file keeps no caption for it.
class TPictureView : public QWidget {
public:
    explicit TPictureView(QWidget* parent = nullptr) : QWidget(parent) {}

    const QImage& Picture() const { return picture_; }
    void SetPicture(QImage picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

// A label that runs a handler when clicked with the left button.
class TClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A web-link label: its text in the normal colour, in the hover colour
// while the mouse is over it; a click runs OnClick (the window opens the
// address through the desktop shell).
class TWebLabel : public TClickLabel {
public:
    TWebLabel(const QString& text, QColor normal, QColor hover, QWidget* parent = nullptr);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setTextColor(QColor color);
    QColor normal_, hover_;
};

// A font of the windows' design: face and character height in pixels.
QFont designFont(const char* face, int pixels, bool bold = false, bool underline = false);
