#pragma once
// TShadowLabel: a caption with a drop shadow, over an optional picture or a
// stretchable picture frame (left piece, repeated centre, right piece).

#include <QPixmap>
#include <QWidget>
#include <string>
#include <string_view>

#include "control_types.h"

// The left edge of a caption of textWidth in a control of width: at `frame`
// (left), right-justified but never left of `frame`, or centred.
int ShadowTextLeft(TAlignment alignment, int width, int textWidth, int frame);

// How often the centre piece of a frame is repeated between its ends.
int FramePieceRepeats(int width, int leftWidth, int rightWidth, int centreWidth);

struct ShadowTextStyle {
    bool shadow = true;
    uint32_t shadowColor = screen_color::kGray;
    int displaceX = 1;
    int displaceY = 1;
};

// Draws a caption whose top is at `top`: first the shadow (white when
// disabled), then the text in its colour (silver when disabled).
void DrawShadowText(QPainter& painter, int left, int top, const QString& text, const ShadowTextStyle& style,
                    bool enabled, const QColor& color);

class TShadowLabel : public QWidget {
    Q_OBJECT

public:
    explicit TShadowLabel(QWidget* parent = nullptr);

    void fSetCaption(std::string_view caption);  // CP1251
    void fSetShadowColor(uint32_t color);
    void fSetDisplaceX(int dx);
    void fSetDisplaceY(int dy);
    void fSetShadow(bool on);
    void fSetAlignment(TAlignment alignment);
    void fSetFrame(int frame);
    void fSetPngPicture(const QPixmap& picture);
    void fSetPngLeft(const QPixmap& picture);
    void fSetPngCenter(const QPixmap& picture);
    void fSetPngRight(const QPixmap& picture);

    const std::string& Caption() const { return caption_; }
    uint32_t ShadowColor() const { return style_.shadowColor; }
    int DisplaceX() const { return style_.displaceX; }
    int DisplaceY() const { return style_.displaceY; }
    bool Shadow() const { return style_.shadow; }
    TAlignment Alignment() const { return alignment_; }
    int Frame() const { return frame_; }
    // Where the caption starts, as painted.
    int TextLeft() const;

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseEnter();
    void OnMouseExit();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    std::string caption_;
    ShadowTextStyle style_;
    TAlignment alignment_ = taLeftJustify;
    int frame_ = 3;
    QPixmap picture_, left_, centre_, right_;
    ClickTracker click_;
};
