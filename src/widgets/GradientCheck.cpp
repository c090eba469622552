#include "GradientCheck.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "png_draw.h"
#include "qt_text.h"

namespace {

constexpr qreal kCornerRadius = 4.5;  // a 9 by 9 corner
constexpr int kHotStep = 30;

uint32_t Brighter(uint32_t color) {
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        const uint32_t channel = std::min<uint32_t>(((color >> shift) & 0xFF) + kHotStep, 255);
        out |= channel << shift;
    }
    return out;
}

void Outline(QPainter& painter, const QRectF& rect, uint32_t color, int width, bool round) {
    painter.setPen(QPen(ToQColor(color), width));
    painter.setBrush(Qt::NoBrush);
    if (round)
        painter.drawRoundedRect(rect, kCornerRadius, kCornerRadius);
    else
        painter.drawRect(rect);
}

}  // namespace

TGradientCheck::TGradientCheck(QWidget* parent) : QWidget(parent) { setCursor(Qt::PointingHandCursor); }

void TGradientCheck::fSetCaption(std::string_view caption) {
    caption_ = std::string(caption);
    update();
}

void TGradientCheck::fSetPngAlign(TPngAlign align) {
    pngAlign_ = align;
    update();
}

void TGradientCheck::fSetPngPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void TGradientCheck::fSetColorHTMLBegin(std::string_view text) {
    begin_.SetText(text);
    update();
}

void TGradientCheck::fSetColorHTMLEnd(std::string_view text) {
    end_.SetText(text);
    update();
}

void TGradientCheck::fSetColorBegin(uint32_t color) {
    begin_.SetColor(color);
    update();
}

void TGradientCheck::fSetColorEnd(uint32_t color) {
    end_.SetColor(color);
    update();
}

void TGradientCheck::fSetHorizontal(bool on) {
    horizontal_ = on;
    update();
}

void TGradientCheck::fSetFrame(bool on) {
    frame_ = on;
    update();
}

void TGradientCheck::fSetRotate(bool on) {
    rotate_ = on;
    update();
}

void TGradientCheck::fSetRound(bool on) {
    round_ = on;
    update();
}

void TGradientCheck::fSetGradient(bool on) {
    gradient_ = on;
    update();
}

void TGradientCheck::fSetForceChildEnabled(bool on) { forceChildEnabled_ = on; }

void TGradientCheck::fSetCheckable(bool on) {
    checkable_ = on;
    if (!on) {
        setCursor(Qt::ArrowCursor);
        mouseInside_ = false;
        update();
        return;
    }
    setCursor(Qt::PointingHandCursor);
    fSetChecked(true);
}

std::vector<QWidget*> TGradientCheck::ChildControls() const {
    std::vector<QWidget*> controls;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow()) controls.push_back(child);
    return controls;
}

void TGradientCheck::RestoreChildren() {
    const std::vector<QWidget*> children = ChildControls();
    // A child added since the states were saved leaves the list unusable.
    const bool useSaved = !forceChildEnabled_ && savedEnabled_.size() == children.size();
    for (std::size_t i = 0; i < children.size(); ++i) children[i]->setEnabled(useSaved ? savedEnabled_[i] : true);
    childrenHeld_ = false;
}

void TGradientCheck::HoldChildren() {
    const std::vector<QWidget*> children = ChildControls();
    // Children already held are disabled by the panel, not by themselves:
    // saving again would lose their own states.
    if (!childrenHeld_) {
        savedEnabled_.clear();
        for (QWidget* child : children) savedEnabled_.push_back(child->isEnabledTo(this));
        childrenHeld_ = true;
    }
    for (QWidget* child : children) child->setEnabled(false);
}

void TGradientCheck::fSetChecked(bool on) {
    checked_ = on;
    if (on)
        RestoreChildren();
    else
        HoldChildren();
    update();
}

void TGradientCheck::fSetVisible(bool on) {
    for (QWidget* child : ChildControls()) child->setVisible(on);
    setVisible(on);
}

void TGradientCheck::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (isEnabled()) {
            RestoreChildren();
            fSetChecked(checked_);  // an unchecked panel holds its children again
        } else {
            HoldChildren();
        }
        update();
    }
    QWidget::changeEvent(event);
}

void TGradientCheck::Click() {
    if (checkable_) fSetChecked(!checked_);
    emit OnClick();
}

void TGradientCheck::mousePressEvent(QMouseEvent* event) {
    click_.Press(*event);
    event->accept();
}

void TGradientCheck::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.Release(*event, *this)) Click();
}

void TGradientCheck::enterEvent(QEnterEvent* event) {
    if (checkable_ && isEnabled()) {
        mouseInside_ = true;
        emit OnMouseEnter();
        update();
    }
    QWidget::enterEvent(event);
}

void TGradientCheck::leaveEvent(QEvent* event) {
    if (checkable_ && isEnabled()) {
        mouseInside_ = false;
        emit OnMouseExit();
        update();
    }
    QWidget::leaveEvent(event);
}

void TGradientCheck::GradientBox(QPainter& painter, const QRect& rect, uint32_t colorA, uint32_t colorB,
                                 bool horizontal, bool frame, bool rotate, bool round) const {
    uint32_t start = rotate ? colorB : colorA, end = rotate ? colorA : colorB;
    if (Hot()) {
        start = Brighter(start);
        end = Brighter(end);
    }
    QLinearGradient gradient(rect.topLeft(), horizontal ? QPointF(rect.right() + 1, rect.top())
                                                        : QPointF(rect.left(), rect.bottom() + 1));
    gradient.setColorAt(0, ToQColor(start));
    gradient.setColorAt(1, ToQColor(end));
    painter.fillRect(rect, gradient);
    if (!frame) return;
    Outline(painter, QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), colorA, 1, round);
    if (Hot()) Outline(painter, QRectF(rect).adjusted(2, 2, -2, -2), colorA, 2, round);
}

void TGradientCheck::FrameBox(QPainter& painter, const QRect& rect, uint32_t fill, uint32_t outline, bool frame,
                              bool round) const {
    if (!frame) return;
    painter.fillRect(rect, ToQColor(fill));
    Outline(painter, QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), outline, 1, round);
}

void TGradientCheck::paintEvent(QPaintEvent*) {
    using namespace screen_color;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, round_);
    uint32_t colorA = checked_ ? begin_.Color() : kSilver;
    uint32_t colorB = checked_ ? end_.Color() : kWhite;
    if (!isEnabled()) {
        colorA = kDarkGrey;
        colorB = kWhite;
    }
    if (gradient_)
        GradientBox(painter, rect(), colorA, colorB, horizontal_, frame_, rotate_, round_);
    else
        FrameBox(painter, rect(), colorB, colorA, frame_, round_);

    if (!picture_.isNull()) {
        const int y = PictureOffset(pngAlign_, Qt::Vertical, height(), picture_.height(), 1);
        unsigned options = kPngPlain;
        if (!checked_ || !isEnabled())
            options = kPngGreyed;
        else if (mouseInside_ && checkable_)
            options = kPngBrighter;
        DrawPng(painter, 2, y, picture_, options);
    }
    painter.setPen(isEnabled() ? FontColor(*this) : ToQColor(kSilver));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, ToQString(caption_));
}
