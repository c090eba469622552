#include "ShadowLabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "png_draw.h"
#include "qt_text.h"

int ShadowTextLeft(TAlignment alignment, int width, int textWidth, int frame) {
    switch (alignment) {
        case taRightJustify: return std::max(width - textWidth - frame, frame);
        case taCenter: return (width - textWidth) / 2;
        case taLeftJustify: break;
    }
    return frame;
}

int FramePieceRepeats(int width, int leftWidth, int rightWidth, int centreWidth) {
    const int span = width - leftWidth - rightWidth;
    if (centreWidth <= 0 || span <= 0) return 0;
    return (span + centreWidth - 1) / centreWidth;
}

void DrawShadowText(QPainter& painter, int left, int top, const QString& text, const ShadowTextStyle& style,
                    bool enabled, const QColor& color) {
    const int baseline = top + painter.fontMetrics().ascent();
    if (style.shadow) {
        painter.setPen(enabled ? ToQColor(style.shadowColor) : Qt::white);
        painter.drawText(left + style.displaceX, baseline + style.displaceY, text);
    }
    painter.setPen(enabled ? color : ToQColor(screen_color::kSilver));
    painter.drawText(left, baseline, text);
}

TShadowLabel::TShadowLabel(QWidget* parent) : QWidget(parent) {}

void TShadowLabel::fSetCaption(std::string_view caption) {
    caption_ = std::string(caption);
    update();
}

void TShadowLabel::fSetShadowColor(uint32_t color) {
    style_.shadowColor = color;
    update();
}

void TShadowLabel::fSetDisplaceX(int dx) {
    style_.displaceX = dx;
    update();
}

void TShadowLabel::fSetDisplaceY(int dy) {
    style_.displaceY = dy;
    update();
}

void TShadowLabel::fSetShadow(bool on) {
    style_.shadow = on;
    update();
}

void TShadowLabel::fSetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    update();
}

void TShadowLabel::fSetFrame(int frame) {
    frame_ = frame;
    update();
}

void TShadowLabel::fSetPngPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void TShadowLabel::fSetPngLeft(const QPixmap& picture) {
    left_ = picture;
    update();
}

void TShadowLabel::fSetPngCenter(const QPixmap& picture) {
    centre_ = picture;
    update();
}

void TShadowLabel::fSetPngRight(const QPixmap& picture) {
    right_ = picture;
    update();
}

int TShadowLabel::TextLeft() const {
    return ShadowTextLeft(alignment_, width(), fontMetrics().horizontalAdvance(ToQString(caption_)), frame_);
}

void TShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const unsigned options = isEnabled() ? kPngPlain : kPngGreyed;
    if (!left_.isNull() && !centre_.isNull() && !right_.isNull()) {
        DrawPng(painter, 0, 0, left_, options);
        const int repeats = FramePieceRepeats(width(), left_.width(), right_.width(), centre_.width());
        for (int i = 0; i < repeats; ++i) DrawPng(painter, left_.width() + i * centre_.width(), 0, centre_, options);
        DrawPng(painter, width() - right_.width(), 0, right_, options);
    } else {
        DrawPng(painter, 0, 0, picture_, options);
    }
    painter.setFont(font());
    const int top = (height() - fontMetrics().height()) / 2;
    DrawShadowText(painter, TextLeft(), top, ToQString(caption_), style_, isEnabled(), FontColor(*this));
}

void TShadowLabel::mousePressEvent(QMouseEvent* event) {
    click_.Press(*event);
    event->accept();
}

void TShadowLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.Release(*event, *this)) emit OnClick();
}

void TShadowLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit OnDblClick();
}

void TShadowLabel::enterEvent(QEnterEvent* event) {
    emit OnMouseEnter();
    QWidget::enterEvent(event);
}

void TShadowLabel::leaveEvent(QEvent* event) {
    emit OnMouseExit();
    QWidget::leaveEvent(event);
}
