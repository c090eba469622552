#include "ImageButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "png_draw.h"

namespace {
constexpr int kCreatedSize = 48;
}

TImageButton::TImageButton(QWidget* parent) : QWidget(parent) { resize(kCreatedSize, kCreatedSize); }

void TImageButton::fSetPngPicture(const QPixmap& picture) {
    picture_ = picture;
    if (!picture.isNull()) resize(picture.size());
    update();
}

unsigned TImageButton::PictureOptions() const {
    return ButtonPictureOptions(isEnabled(), mouseInside_, click_.Pressed());
}

QSize TImageButton::sizeHint() const {
    return picture_.isNull() ? QSize(kCreatedSize, kCreatedSize) : picture_.size();
}

void TImageButton::Click() {
    click_.Clear();
    ApplyModalResult(*this, modalResult_);
    update();
    emit OnClick();
}

void TImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPoint pos((width() - picture_.width()) / 2, (height() - picture_.height()) / 2);
    if (isEnabled() && mouseInside_ && click_.Pressed()) pos += QPoint(1, 1);
    DrawPng(painter, pos.x(), pos.y(), picture_, PictureOptions());
}

void TImageButton::mousePressEvent(QMouseEvent* event) {
    click_.Press(*event);
    update();
    event->accept();
}

void TImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.Release(*event, *this))
        Click();
    else
        update();
}

void TImageButton::enterEvent(QEnterEvent* event) {
    if (isEnabled()) {
        mouseInside_ = true;
        emit OnMouseEnter();
        update();
    }
    QWidget::enterEvent(event);
}

void TImageButton::leaveEvent(QEvent* event) {
    if (isEnabled()) {
        mouseInside_ = false;
        emit OnMouseExit();
        update();
    }
    QWidget::leaveEvent(event);
}

void TImageButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        mouseInside_ = false;
        click_.Clear();
        update();
    }
    QWidget::changeEvent(event);
}
