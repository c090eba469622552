#include "PngCheckBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "png_draw.h"
#include "qt_text.h"

TPngCheckBox::TPngCheckBox(QWidget* parent) : QWidget(parent) {}

void TPngCheckBox::fSetChecked(bool on) {
    checked_ = on;
    update();
}

void TPngCheckBox::fSetPngCheck(const QPixmap& picture) {
    check_ = picture;
    SetMaxHeight();
}

void TPngCheckBox::fSetPngUncheck(const QPixmap& picture) {
    uncheck_ = picture;
    SetMaxHeight();
}

void TPngCheckBox::SetMaxHeight() {
    const int tallest = std::max(check_.height(), uncheck_.height());
    if (tallest > 0) resize(width(), tallest);
    update();
}

void TPngCheckBox::fSetPngAlign(TPngAlign align) {
    pngAlign_ = align;
    update();
}

void TPngCheckBox::fSetShadow(bool on) {
    style_.shadow = on;
    update();
}

void TPngCheckBox::fSetShadowColor(uint32_t color) {
    style_.shadowColor = color;
    update();
}

void TPngCheckBox::fSetDisplaceX(int dx) {
    style_.displaceX = dx;
    update();
}

void TPngCheckBox::fSetDisplaceY(int dy) {
    style_.displaceY = dy;
    update();
}

void TPngCheckBox::fSetFrame(int frame) {
    frame_ = frame;
    update();
}

void TPngCheckBox::fSetCaption(std::string_view caption) {
    caption_ = std::string(caption);
    update();
}

void TPngCheckBox::Click() {
    if (manualMode_) fSetChecked(!checked_);
    emit OnClick();
}

void TPngCheckBox::paintEvent(QPaintEvent*) {
    using namespace screen_color;
    QPainter painter(this);
    if (mouseInside_ && isEnabled() && manualMode_) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(ToQColor(kSilver));
        painter.setBrush(ToQColor(kCream));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    const QPixmap& picture = checked_ ? check_ : uncheck_;
    const int x = PictureOffset(pngAlign_, Qt::Horizontal, width(), picture.width(), 1);
    DrawPng(painter, x, (height() - picture.height()) / 2, picture, isEnabled() ? kPngPlain : kPngGreyed);

    // The caption stands on the side away from the picture.
    TAlignment alignment = taRightJustify;
    if (pngAlign_ == paCenter) alignment = taCenter;
    if (pngAlign_ == paRight) alignment = taLeftJustify;
    const QString text = ToQString(caption_);
    painter.setFont(font());
    const int left = ShadowTextLeft(alignment, width(), fontMetrics().horizontalAdvance(text), frame_);
    DrawShadowText(painter, left, (height() - fontMetrics().height()) / 2, text, style_, isEnabled(),
                   FontColor(*this));
}

void TPngCheckBox::mousePressEvent(QMouseEvent* event) {
    click_.Press(*event);
    event->accept();
}

void TPngCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.Release(*event, *this)) Click();
}

void TPngCheckBox::enterEvent(QEnterEvent* event) {
    mouseInside_ = true;
    emit OnMouseEnter();
    update();
    QWidget::enterEvent(event);
}

void TPngCheckBox::leaveEvent(QEvent* event) {
    mouseInside_ = false;
    emit OnMouseExit();
    update();
    QWidget::leaveEvent(event);
}
