#pragma once
// TGradientCheck: a panel painted with a two-colour gradient (or a plain
// fill) that holds other controls and can act as their check box: while it
// is unchecked or disabled its children are disabled, and they get their own
// enabled states back when it is checked and enabled again.

#include <QPixmap>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "color_text.h"
#include "control_types.h"

class TGradientCheck : public QWidget {
    Q_OBJECT

public:
    explicit TGradientCheck(QWidget* parent = nullptr);

    void fSetCaption(std::string_view caption);  // CP1251
    void fSetPngAlign(TPngAlign align);          // paTop, paCenter or paBottom
    void fSetPngPicture(const QPixmap& picture);
    void fSetColorHTMLBegin(std::string_view text);
    void fSetColorHTMLEnd(std::string_view text);
    void fSetColorBegin(uint32_t color);
    void fSetColorEnd(uint32_t color);
    void fSetHorizontal(bool on);
    void fSetFrame(bool on);
    void fSetRotate(bool on);
    void fSetRound(bool on);
    void fSetCheckable(bool on);
    void fSetGradient(bool on);
    void fSetForceChildEnabled(bool on);
    void fSetChecked(bool on);
    // Shows or hides every child, then the panel. (setVisible keeps the
    // children's own visibility, as Qt does.)
    void fSetVisible(bool on);

    const std::string& gCaption() const { return caption_; }
    TPngAlign gPngAlign() const { return pngAlign_; }
    const QPixmap& gPngPicture() const { return picture_; }
    const std::string& gColorHTMLBegin() const { return begin_.Text(); }
    const std::string& gColorHTMLEnd() const { return end_.Text(); }
    uint32_t gColorBegin() const { return begin_.Color(); }
    uint32_t gColorEnd() const { return end_.Color(); }
    bool gHorizontal() const { return horizontal_; }
    bool gFrame() const { return frame_; }
    bool gRotate() const { return rotate_; }
    bool gRound() const { return round_; }
    bool gCheckable() const { return checkable_; }
    bool gGradient() const { return gradient_; }
    bool gForceChildEnabled() const { return forceChildEnabled_; }
    bool Checked() const { return checked_; }
    bool MouseInside() const { return mouseInside_; }

    // Toggles a checkable panel, then OnClick.
    void Click();
    void GradientBox(QPainter& painter, const QRect& rect, uint32_t colorA, uint32_t colorB, bool horizontal,
                     bool frame, bool rotate, bool round) const;
    void FrameBox(QPainter& painter, const QRect& rect, uint32_t fill, uint32_t outline, bool frame,
                  bool round) const;

signals:
    void OnClick();
    void OnMouseEnter();
    void OnMouseExit();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::vector<QWidget*> ChildControls() const;
    void RestoreChildren();
    void HoldChildren();
    bool Hot() const { return mouseInside_ && checkable_ && isEnabled(); }

    std::string caption_;
    TPngAlign pngAlign_ = paTop;
    QPixmap picture_;
    ColorTextProperty begin_{screen_color::kBlack};
    ColorTextProperty end_{screen_color::kWhite};
    bool horizontal_ = true;
    bool frame_ = true;
    bool rotate_ = false;
    bool round_ = false;
    bool checkable_ = true;
    bool gradient_ = true;
    bool forceChildEnabled_ = false;
    bool checked_ = true;
    bool mouseInside_ = false;
    ClickTracker click_;
    std::vector<bool> savedEnabled_;  // one per child, in child order
    bool childrenHeld_ = false;       // savedEnabled_ holds the children's own states
};
