#include "control_types.h"

#include <QDialog>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>

#include "png_draw.h"

void ApplyModalResult(QWidget& control, TModalResult result) {
    if (result == mrNone) return;
    if (auto* dialog = qobject_cast<QDialog*>(control.window())) dialog->done(result);
}

int PictureOffset(TPngAlign align, Qt::Orientation side, int size, int pictureSize, int margin) {
    if (align == paCenter) return (size - pictureSize) / 2;
    const TPngAlign end = side == Qt::Horizontal ? paRight : paBottom;
    return align == end ? size - pictureSize - margin : margin;
}

void SetFontColor(QWidget& control, uint32_t color) {
    QPalette palette = control.palette();
    palette.setColor(control.foregroundRole(), ToQColor(color));
    control.setPalette(palette);
}

QColor FontColor(const QWidget& control) { return control.palette().color(control.foregroundRole()); }

unsigned ButtonPictureOptions(bool enabled, bool mouseInside, bool pressed) {
    if (!enabled) return kPngGreyed;
    if (!mouseInside) return kPngPlain;
    return pressed ? kPngDarker : kPngBrighter;
}

void ClickTracker::Press(const QMouseEvent& event) { pressed_ = event.button() == Qt::LeftButton; }

bool ClickTracker::Release(const QMouseEvent& event, const QWidget& control) {
    const bool click =
        pressed_ && event.button() == Qt::LeftButton && control.rect().contains(event.position().toPoint());
    pressed_ = false;
    return click;
}
