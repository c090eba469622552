#pragma once
// TImageButton: a button that is only its picture, sized to it. A click
// gives the window that holds it the button's ModalResult.

#include <QPixmap>
#include <QWidget>

#include "control_types.h"

class TImageButton : public QWidget {
    Q_OBJECT

public:
    explicit TImageButton(QWidget* parent = nullptr);

    void fSetPngPicture(const QPixmap& picture);  // resizes the button to it
    void fSetModalResult(TModalResult result) { modalResult_ = result; }

    const QPixmap& PngPicture() const { return picture_; }
    TModalResult ModalResult() const { return modalResult_; }
    bool MouseInside() const { return mouseInside_; }
    bool Pressed() const { return click_.Pressed(); }
    unsigned PictureOptions() const;

    void Click();
    QSize sizeHint() const override;

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
    QPixmap picture_;
    TModalResult modalResult_ = mrNone;
    bool mouseInside_ = false;
    ClickTracker click_;
};
