#include "mask_model.h"

#include <algorithm>

#include "Cp1251.h"
#include "key_text.h"
#include "text_helpers.h"

bool IsEditableMaskChar(char maskChar) { return maskChar == 'D' || maskChar == 'A' || maskChar == 'H'; }

bool FitsMaskChar(char maskChar, char c) {
    switch (maskChar) {
        case 'D': return IsDigitChar(c);
        case 'A': return IsLayoutLetter(c);
        case 'H': return IsHexChar(c);
        default: return false;
    }
}

void MaskModel::SetMask(std::string_view mask) {
    mask_ = std::string(mask);
    SetTextWithMask();
}

void MaskModel::SetBlankSymbol(char blank) {
    blank_ = blank;
    SetTextWithMask();
}

void MaskModel::SetText(std::string_view text) {
    raw_ = std::string(text);
    SetTextWithMask();
    PostProcessKey();
}

int MaskModel::GetRealMaskLength() const {
    return static_cast<int>(
        std::count_if(mask_.begin(), mask_.end(), [](char m) { return IsEditableMaskChar(m) || m == 'X'; }));
}

void MaskModel::SetTextWithMask() {
    literals_.clear();
    std::string raw = raw_;
    raw.resize(static_cast<std::size_t>(GetRealMaskLength()), blank_);
    raw = cp1251::ToUpper(raw);
    display_.clear();
    std::size_t k = 0;
    for (char m : mask_) {
        if (IsEditableMaskChar(m)) {
            const char c = raw[k++];
            display_ += c == blank_ || !FitsMaskChar(m, c) ? blank_ : c;
        } else if (m == 'X') {
            display_ += raw[k++];
        } else {
            display_ += m;
            literals_ += m;
        }
    }
}

bool MaskModel::isSeparator(char c) const { return literals_.find(c) != std::string::npos; }

std::string MaskModel::GetSelText(int from, int to, bool skipSeparators) const {
    std::string out;
    for (int pos = std::max(from, 1); pos <= std::min(to, Length()); ++pos) {
        const char c = display_[static_cast<std::size_t>(pos - 1)];
        if (skipSeparators && isSeparator(c)) continue;
        out += KeyMode() && c == blank_ ? '0' : c;
    }
    return out;
}

std::string MaskModel::Text() const { return GetSelText(1, Length(), true); }

bool MaskModel::PostProcessKey() {
    if (!KeyMode()) return false;
    std::string key = Text();
    // Only a complete key gets a check byte; anything else would overwrite
    // two shown characters with digits of the text.
    if (key.empty() || !SetKeyCrc(key, false) || display_.size() < 2) return false;
    display_[0] = key[0];
    display_[1] = key[1];
    return true;
}

void MaskModel::SetSelection(int start, int end) {
    selStart_ = start;
    selEnd_ = end;
}

bool MaskModel::CheckCaretPos(int direction) {
    const int length = Length();
    if (direction < 0) {
        for (int pos = std::min(caret_, length + 1) - 1; pos >= 1; --pos) {
            if (EditableAt(pos)) {
                caret_ = pos;
                break;
            }
        }
        return false;
    }
    if (direction > 0) {
        if (caret_ >= length || caret_ == endCaretPos_) return exitAtEnd_;
        for (int pos = caret_ + 1; pos <= length; ++pos) {
            if (EditableAt(pos)) {
                caret_ = pos;
                return false;
            }
        }
        return exitAtEnd_;
    }
    const int from = std::clamp(caret_, 1, std::max(length, 1));
    int after = from;
    while (after <= length && !EditableAt(after)) ++after;
    int before = from;
    while (before >= 1 && !EditableAt(before)) --before;
    const bool hasAfter = after <= length, hasBefore = before >= 1;
    caretVisible_ = hasAfter || hasBefore;
    if (hasAfter && hasBefore)
        caret_ = after - from < from - before ? after : before;
    else if (hasAfter)
        caret_ = after;
    else if (hasBefore)
        caret_ = before;
    return false;
}

void MaskModel::FocusIn() {
    caret_ = beginCaretPos_;
    ClearSelection();
    CheckCaretPos(0);
}

void MaskModel::FocusOut() {
    // Blanks become "0" and the check byte is recomputed.
    if (KeyMode()) SetText(Text());
}

bool MaskModel::TypeChar(char c) {
    if (HasSelection()) {
        const int low = std::min(selStart_, selEnd_), high = std::max(selStart_, selEnd_);
        caret_ = low;
        CheckCaretPos(0);
        for (int pos = low; pos <= high; ++pos)
            if (EditableAt(pos)) display_[static_cast<std::size_t>(pos - 1)] = blank_;
        ClearSelection();
    }
    c = cp1251::ToUpper(c);
    bool leave = false;
    if (EditableAt(caret_) && FitsMaskChar(mask_[static_cast<std::size_t>(caret_ - 1)], c)) {
        display_[static_cast<std::size_t>(caret_ - 1)] = c;
        leave = CheckCaretPos(+1);
    }
    PostProcessKey();
    return leave;
}

bool MaskModel::ArrowKey(int direction, bool shift) {
    if (!shift) {
        ClearSelection();
        return CheckCaretPos(direction);
    }
    if (selStart_ == 0) selStart_ = caret_;
    if (selEnd_ == 0) selEnd_ = caret_;
    selEnd_ = direction < 0 ? std::max(1, selEnd_ - 1) : std::min(std::max(Length(), 1), selEnd_ + 1);
    caret_ = selEnd_;
    CheckCaretPos(0);
    return false;
}

void MaskModel::PointerDown(int pos, bool leftButton) {
    if (leftButton) ClearSelection();
    caret_ = pos;
    CheckCaretPos(0);
}

void MaskModel::PointerDrag(int pos) {
    if (selStart_ == 0) selStart_ = pos;
    selEnd_ = pos;
    caret_ = pos;
    CheckCaretPos(0);
}

void MaskModel::Paste(std::string_view text) {
    std::string chars = cp1251::ToUpper(text);
    if (KeyMode()) NormalizeKeyText(chars);  // an incomplete key is pasted as far as it goes
    std::size_t k = 0;
    for (int pos = std::max(caret_, 1); pos <= Length() && k < chars.size(); ++pos) {
        const char m = mask_[static_cast<std::size_t>(pos - 1)];
        if (!IsEditableMaskChar(m)) continue;
        while (k < chars.size() && !FitsMaskChar(m, chars[k])) ++k;
        if (k < chars.size()) display_[static_cast<std::size_t>(pos - 1)] = chars[k++];
    }
    PostProcessKey();
}

std::string MaskModel::CopySelection() const {
    if (!HasSelection()) return {};
    return GetSelText(std::min(selStart_, selEnd_), std::max(selStart_, selEnd_), false);
}

std::string MaskModel::CopyAll() {
    SetSelection(1, Length());
    std::string text = CopySelection();
    ClearSelection();
    return text;
}

int MaskPositionAtX(const std::vector<int>& widths, int frame, int x) {
    if (x <= frame) return 1;
    int left = frame;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (x < left + widths[i]) return static_cast<int>(i) + 1;
        left += widths[i];
    }
    return std::max(static_cast<int>(widths.size()), 1);
}
