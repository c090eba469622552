#pragma once
// The rules of the masked entry control without the widget: the display
// built from a mask and a text, a caret that rests only on editable
// positions, typing, selection and paste. Texts are CP1251; positions count
// from 1, a selection end of 0 means "not set".
//
// Mask characters: "D" a decimal digit, "A" a layout letter, "H" a
// hexadecimal digit (these three take typed and pasted characters), "X" any
// character but only through SetText; every other character is a literal.

#include <string>
#include <string_view>
#include <vector>

enum TMaskType { msCustom = 0, msKeyHex8b = 1 };

inline constexpr char kDefaultBlankSymbol = '\x95';  // "•"

bool IsEditableMaskChar(char maskChar);
// Whether `c` may stand at a position of the given mask character.
bool FitsMaskChar(char maskChar, char c);

class MaskModel {
public:
    void SetMask(std::string_view mask);
    void SetBlankSymbol(char blank);
    void SetMaskType(TMaskType type) { maskType_ = type; }
    // Stores the raw text, rebuilds the display and, in key mode, the check byte.
    void SetText(std::string_view text);
    void SetBeginCaretPos(int pos) { beginCaretPos_ = pos < 1 ? 1 : pos; }
    void SetEndCaretPos(int pos) { endCaretPos_ = pos < 1 ? 1 : pos; }
    void SetExitAtEnd(bool on) { exitAtEnd_ = on; }

    const std::string& Mask() const { return mask_; }
    const std::string& Display() const { return display_; }
    char BlankSymbol() const { return blank_; }
    TMaskType MaskType() const { return maskType_; }
    bool KeyMode() const { return maskType_ == msKeyHex8b; }
    int BeginCaretPos() const { return beginCaretPos_; }
    int EndCaretPos() const { return endCaretPos_; }
    bool ExitAtEnd() const { return exitAtEnd_; }
    int Length() const { return static_cast<int>(mask_.size()); }

    // The display without the mask's literal characters; in key mode a blank
    // reads as "0", so the key mask gives the 16-digit key text.
    std::string Text() const;
    int GetRealMaskLength() const;
    bool isSeparator(char c) const;
    std::string GetSelText(int from, int to, bool skipSeparators) const;
    // Key mode: puts the check byte of the shown key into positions 1 and 2.
    // True when it did.
    bool PostProcessKey();

    int Caret() const { return caret_; }
    bool CaretVisible() const { return caretVisible_; }
    void SetCaret(int pos) { caret_ = pos; }
    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }
    bool HasSelection() const { return selStart_ != 0 && selEnd_ != 0; }
    void SetSelection(int start, int end);
    void ClearSelection() { selStart_ = selEnd_ = 0; }

    // Moves the caret: -1 back, +1 on, 0 onto the nearest editable position.
    // True when the focus is to move on to the next control (ExitAtEnd).
    bool CheckCaretPos(int direction);

    // The user's actions. Those returning bool return CheckCaretPos's verdict.
    void FocusIn();
    void FocusOut();
    bool TypeChar(char c);  // a printable character, upper-cased here
    bool ArrowKey(int direction, bool shift);
    void PointerDown(int pos, bool leftButton);
    void PointerDrag(int pos);
    void Paste(std::string_view text);
    // Empty when nothing is selected.
    std::string CopySelection() const;
    std::string CopyAll();

private:
    void SetTextWithMask();
    bool EditableAt(int pos) const { return pos >= 1 && pos <= Length() && IsEditableMaskChar(mask_[pos - 1]); }

    std::string mask_;
    std::string raw_;       // what SetText was last given
    std::string display_;   // one character per mask position
    std::string literals_;  // the mask's literal characters, in mask order
    char blank_ = kDefaultBlankSymbol;
    TMaskType maskType_ = msCustom;
    int beginCaretPos_ = 1;
    int endCaretPos_ = 1;
    bool exitAtEnd_ = true;
    int caret_ = 1;
    bool caretVisible_ = true;
    int selStart_ = 0;
    int selEnd_ = 0;
};

// The mask position under horizontal coordinate x, given the widths of the
// displayed characters drawn one after another from x = frame.
int MaskPositionAtX(const std::vector<int>& widths, int frame, int x);
