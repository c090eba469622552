#pragma once
// TPngCheckBox: a check box drawn as one of two pictures with a shadowed
// caption. Without ManualMode only the program sets Checked (an indicator).

#include <QPixmap>
#include <QWidget>
#include <string>
#include <string_view>

#include "ShadowLabel.h"
#include "control_types.h"

class TPngCheckBox : public QWidget {
    Q_OBJECT

public:
    explicit TPngCheckBox(QWidget* parent = nullptr);

    void fSetChecked(bool on);
    void fSetManualMode(bool on) { manualMode_ = on; }
    void fSetPngCheck(const QPixmap& picture);  // also sets the height
    void fSetPngUncheck(const QPixmap& picture);
    void fSetPngAlign(TPngAlign align);  // paLeft, paCenter or paRight
    void fSetShadow(bool on);
    void fSetShadowColor(uint32_t color);
    void fSetDisplaceX(int dx);
    void fSetDisplaceY(int dy);
    void fSetFrame(int frame);
    void fSetCaption(std::string_view caption);  // CP1251

    bool Checked() const { return checked_; }
    bool ManualMode() const { return manualMode_; }
    TPngAlign PngAlign() const { return pngAlign_; }
    const std::string& Caption() const { return caption_; }
    bool MouseInside() const { return mouseInside_; }

    // Toggles in ManualMode, then OnClick.
    void Click();

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

private:
    void SetMaxHeight();

    bool checked_ = false;
    bool manualMode_ = true;
    QPixmap check_, uncheck_;
    TPngAlign pngAlign_ = paLeft;
    ShadowTextStyle style_{false};
    int frame_ = 3;
    std::string caption_;
    bool mouseInside_ = false;
    ClickTracker click_;
};
