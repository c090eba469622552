#pragma once
// TXpButton: the standard push button with a picture drawn over it; the
// picture brightens under the mouse and darkens while pressed. Its
// ModalResult closes the dialog that holds it when clicked.

#include <QPixmap>
#include <QPushButton>
#include <string_view>

#include "control_types.h"

class TXpButton : public QPushButton {
    Q_OBJECT

public:
    explicit TXpButton(QWidget* parent = nullptr);

    void fSetPngPicture(const QPixmap& picture);
    void fSetPngAlign(TPngAlign align);  // paLeft, paCenter or paRight
    void fSetPngIndent(int indent);
    void fSetModalResult(TModalResult result) { modalResult_ = result; }
    // The captions begin with blanks that leave room for the picture. CP1251.
    void fSetCaption(std::string_view caption);

    const QPixmap& PngPicture() const { return picture_; }
    TPngAlign PngAlign() const { return pngAlign_; }
    int PngIndent() const { return indent_; }
    TModalResult ModalResult() const { return modalResult_; }
    bool MouseInside() const { return mouseInside_; }
    bool Pressed() const { return pressed_; }
    // The picture's top-left corner and drawing options, as painted now.
    QPoint PicturePos() const;
    unsigned PictureOptions() const;

signals:
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
    TPngAlign pngAlign_ = paLeft;
    int indent_ = 4;
    TModalResult modalResult_ = mrNone;
    bool mouseInside_ = false;
    bool pressed_ = false;
};
