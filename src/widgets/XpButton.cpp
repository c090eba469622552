#include "XpButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "png_draw.h"
#include "qt_text.h"

TXpButton::TXpButton(QWidget* parent) : QPushButton(parent) {
    // First of the clicked handlers, so that the window's own handlers find
    // the result already set.
    connect(this, &QPushButton::clicked, this, [this] { ApplyModalResult(*this, modalResult_); });
}

void TXpButton::fSetPngPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void TXpButton::fSetPngAlign(TPngAlign align) {
    pngAlign_ = align;
    update();
}

void TXpButton::fSetPngIndent(int indent) {
    indent_ = indent;
    update();
}

void TXpButton::fSetCaption(std::string_view caption) { setText(ToQString(caption)); }

QPoint TXpButton::PicturePos() const {
    QPoint pos(PictureOffset(pngAlign_, Qt::Horizontal, width(), picture_.width(), indent_),
               (height() - picture_.height()) / 2);
    if (isEnabled() && mouseInside_ && pressed_) pos += QPoint(1, 1);
    return pos;
}

unsigned TXpButton::PictureOptions() const { return ButtonPictureOptions(isEnabled(), mouseInside_, pressed_); }

void TXpButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QPoint pos = PicturePos();
    DrawPng(painter, pos.x(), pos.y(), picture_, PictureOptions());
}

void TXpButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    QPushButton::mousePressEvent(event);
}

void TXpButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = false;
    QPushButton::mouseReleaseEvent(event);
}

void TXpButton::enterEvent(QEnterEvent* event) {
    if (isEnabled()) {
        mouseInside_ = true;
        emit OnMouseEnter();
        update();
    }
    QPushButton::enterEvent(event);
}

void TXpButton::leaveEvent(QEvent* event) {
    if (isEnabled()) {
        mouseInside_ = false;
        emit OnMouseExit();
        update();
    }
    QPushButton::leaveEvent(event);
}

void TXpButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        // A disabled button gets no leave event; it must not come back lit.
        mouseInside_ = false;
        pressed_ = false;
    }
    QPushButton::changeEvent(event);
}
