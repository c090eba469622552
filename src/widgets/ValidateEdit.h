#pragma once
// TValidateEdit: the standard single-line edit box with a per-keystroke
// filter chosen by ValidateType, an optional numeric range, a limit on
// decimal places, a filtered paste and a background colour that may be given
// as "#RRGGBB" text. Rejected keystrokes never reach the edit box.

#include <QLineEdit>
#include <string>
#include <string_view>

#include "color_text.h"
#include "validate_rules.h"

class TValidateEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TValidateEdit(QWidget* parent = nullptr);

    void fSetValidateType(TValidateType type);
    void fSetValidateString(std::string_view validateString);  // CP1251
    void fSetMantissa(int digits) { settings_.Mantissa = digits; }
    void fSetRangeMode(bool on) { settings_.RangeMode = on; }
    void fSetMaxValue(double value) { settings_.MaxValue = value; }
    void fSetMinValue(double value) { settings_.MinValue = value; }
    void fSetColorHTML(std::string_view text);
    void fSetColor(uint32_t color);
    void fSetText(std::string_view text);  // CP1251

    TValidateType ValidateType() const { return settings_.ValidateType; }
    const std::string& ValidateString() const { return settings_.ValidateString; }
    int Mantissa() const { return settings_.Mantissa; }
    bool RangeMode() const { return settings_.RangeMode; }
    double MaxValue() const { return settings_.MaxValue; }
    double MinValue() const { return settings_.MinValue; }
    const std::string& ColorHTML() const { return color_.Text(); }
    uint32_t Color() const { return color_.Color(); }
    std::string Text() const;  // CP1251

    // The paste of the edit box, filtered for every type but vtNone.
    void WMPaste();

signals:
    // Every character that passed the filter, control characters included;
    // a handler sets it to 0 to refuse it.
    void OnKeyPress(char& key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Filtered() const { return settings_.ValidateType != vtNone && !isReadOnly(); }
    void PasteText(const QString& pasted);
    void PaintColor();

    ValidateSettings settings_;
    ColorTextProperty color_;
};
