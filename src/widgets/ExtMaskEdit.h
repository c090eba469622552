#pragma once
// TExtMaskEdit: a single-line entry for texts of fixed shape that paints
// itself. Every mask position is shown at once; the caret rests only on
// editable positions; keystrokes are filtered by the position's class. In
// key mode (msKeyHex8b) the check byte of a door key follows the typing.
// The rules live in MaskModel; this class turns Qt events into its calls.

#include <QWidget>
#include <string>
#include <string_view>

#include "mask_model.h"

class QMenu;

class TExtMaskEdit : public QWidget {
    Q_OBJECT

public:
    explicit TExtMaskEdit(QWidget* parent = nullptr);

    void fSetMaskType(TMaskType type);
    void fSetText(std::string_view text);  // CP1251
    void fSetEditMask(std::string_view mask);
    void fSetBlankSymbol(char blank);
    void fSetFrame(int frame);
    void fSetBeginCaretPos(int pos);
    void fSetEndCaretPos(int pos);
    void fSetExitAtEnd(bool on);

    TMaskType MaskType() const { return model_.MaskType(); }
    std::string Text() const { return model_.Text(); }
    const std::string& EditMask() const { return model_.Mask(); }
    char BlankSymbol() const { return model_.BlankSymbol(); }
    int Frame() const { return frame_; }
    int BeginCaretPos() const { return model_.BeginCaretPos(); }
    int EndCaretPos() const { return model_.EndCaretPos(); }
    bool ExitAtEnd() const { return model_.ExitAtEnd(); }
    bool Focused() const { return focused_; }
    // Caret, selection and shown text, for the windows and tests that read them.
    const MaskModel& Model() const { return model_; }

    bool PostProcessKey();
    QMenu* PopupMenu() const { return popup_; }
    QSize sizeHint() const override;

public slots:
    void OnMenuCopyAllClick();
    void OnMenuCopyClick();
    void OnMenuPasteClick();

signals:
    void OnMouseEnter();
    void OnMouseExit();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int SetCaretByCursor(int x) const;
    void AfterMove(bool leave);

    MaskModel model_;
    int frame_ = 3;
    bool focused_ = false;
    bool mouseInside_ = false;
    QMenu* popup_;
};
