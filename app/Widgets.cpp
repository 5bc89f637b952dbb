#include "Widgets.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

#include "FontMapping.h"
#include "StrToInt.h"

TUpDown::TUpDown(QLineEdit* buddy, int min, int max, int position, QWidget* parent)
    : QWidget(parent), buddy_(buddy), min_(min), max_(max), position_(std::clamp(position, min, max)) {
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (auto [button, arrow, step] : {std::tuple{&up_, Qt::UpArrow, +1}, std::tuple{&down_, Qt::DownArrow, -1}}) {
        *button = new QToolButton(this);
        (*button)->setArrowType(arrow);
        (*button)->setAutoRepeat(true);
        (*button)->setFocusPolicy(Qt::NoFocus);
        (*button)->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(*button);
        const int direction = step;
        connect(*button, &QToolButton::clicked, this, [this, direction] { Step(direction); });
    }
    // The arrow keys in the edit box step the number, as the buttons do.
    if (buddy_) buddy_->installEventFilter(this);
}

void TUpDown::SetPosition(int position) {
    position_ = std::clamp(position, min_, max_);
}

void TUpDown::Step(int direction) {
    if (buddy_) {
        const QByteArray text = buddy_->text().toLatin1();
        if (auto typed = strToInt(std::string_view(text.constData(), std::size_t(text.size()))))
            position_ = std::clamp<long long>(*typed, min_, max_);
    }
    position_ = std::clamp(position_ + direction, min_, max_);
    if (buddy_) buddy_->setText(QString::number(position_));
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPictureView::SetPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void TPictureView::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
        OnClick();
    QLabel::mouseReleaseEvent(event);
}

TWebLabel::TWebLabel(const QString& text, QColor normal, QColor hover, QWidget* parent)
    : TClickLabel(text, parent), normal_(normal), hover_(hover) {
    setCursor(Qt::PointingHandCursor);
    setTextColor(normal_);
}

void TWebLabel::enterEvent(QEnterEvent* event) {
    setTextColor(hover_);
    TClickLabel::enterEvent(event);
}

void TWebLabel::leaveEvent(QEvent* event) {
    setTextColor(normal_);
    TClickLabel::leaveEvent(event);
}

void TWebLabel::setTextColor(QColor color) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, color);
    setPalette(palette);
}

QFont designFont(const char* face, int pixels, bool bold, bool underline) {
    TFont font;
    font.Name = face;
    font.Height = -pixels;
    font.Bold = bold;
    font.Underline = underline;
    return toQFont(font);
}
