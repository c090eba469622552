#pragma once
// Types and small helpers shared by the program's own controls: picture and
// text alignment, modal results, screen colours (red in the low byte).

#include <QColor>
#include <Qt>
#include <cstdint>

class QMouseEvent;
class QWidget;

// Where a control puts its picture. Panels use the vertical three, buttons
// and check boxes the horizontal three.
enum TPngAlign { paLeft, paCenter, paRight, paTop, paBottom };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Where a picture starts along one side of a control of `size`: `margin` in
// from the start, centred, or `margin` in from the end. A horizontal side
// reads paLeft/paCenter/paRight, a vertical one paTop/paCenter/paBottom; any
// other value puts the picture at the start.
int PictureOffset(TPngAlign align, Qt::Orientation side, int size, int pictureSize, int margin);

// The values a button gives the window that holds it; a dialog's exec()
// returns them.
enum TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Closes the dialog that holds `control` with `result`; mrNone, or a control
// outside a dialog, changes nothing.
void ApplyModalResult(QWidget& control, TModalResult result);

namespace screen_color {
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kSilver = 0xC0C0C0;
inline constexpr uint32_t kGray = 0x808080;
inline constexpr uint32_t kDarkGrey = 0x606060;
inline constexpr uint32_t kGreen = 0x008000;
inline constexpr uint32_t kCream = 0xF0FBFF;
}  // namespace screen_color

inline QColor ToQColor(uint32_t color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

inline uint32_t FromQColor(const QColor& color) {
    return static_cast<uint32_t>(color.red()) | static_cast<uint32_t>(color.green()) << 8 |
           static_cast<uint32_t>(color.blue()) << 16;
}

// The font colour of a control is its palette's foreground.
void SetFontColor(QWidget& control, uint32_t color);
QColor FontColor(const QWidget& control);

// How a picture button draws its picture: greyed when disabled, darker while
// pressed with the mouse inside, brighter with the mouse inside, else plain.
unsigned ButtonPictureOptions(bool enabled, bool mouseInside, bool pressed);

// A click of a control that handles its own mouse: the left button pressed
// and released over it.
class ClickTracker {
public:
    void Press(const QMouseEvent& event);
    // True when this release completes a click.
    bool Release(const QMouseEvent& event, const QWidget& control);
    bool Pressed() const { return pressed_; }
    void Clear() { pressed_ = false; }

private:
    bool pressed_ = false;
};
