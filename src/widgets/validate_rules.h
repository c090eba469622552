#pragma once
// The typing and paste rules of the validating edit box, without the
// widget. Texts are CP1251; the decimal point is always ".".

#include <optional>
#include <string>
#include <string_view>

enum TValidateType {
    vtNone,
    vtCustom,
    vtInteger,
    vtIntegerPs,
    vtFloat,
    vtFloatPs,
    vtHex,
    vtHexUp,
    vtHexLo,
    vtOnlyDigits,
};

struct ValidateSettings {
    TValidateType ValidateType = vtNone;
    std::string ValidateString;  // vtCustom: characters and ranges such as "0-9A-F_"
    int Mantissa = 0;            // most digits after the decimal point
    bool RangeMode = false;
    double MaxValue = 1;  // inclusive
    double MinValue = 0;  // inclusive
};

// The edit box as a filter sees it; the selection starts from 0.
struct EditState {
    std::string_view text;
    int selStart = 0;
    int selLength = 0;
};

bool IsNumericType(TValidateType type);

// Choosing a type resets the range, the mantissa (2 for the float types)
// and, for every type but vtCustom, the custom string.
void SetValidateType(ValidateSettings& settings, TValidateType type);
// A non-empty string also switches to vtCustom, keeping everything else.
void SetValidateString(ValidateSettings& settings, std::string_view validateString);

// Filters one typed character: control characters (below 32) pass; a
// rejected character is set to 0; vtHexUp/vtHexLo change its case. True
// when it passes.
bool FProcessKey(const ValidateSettings& settings, const EditState& edit, char& ch);

// The leading number of a text as the C library reads one (blanks, sign,
// digits with a decimal point and an exponent; the rest ignored); 0 when
// there is none, an infinity when it does not fit a double.
double LeadingNumber(std::string_view text);

// The characters of a pasted text that are kept: numeric types keep the
// text as it is, the others what the filter lets through.
std::string FilterPasteText(const ValidateSettings& settings, std::string_view pasted);

// After a paste into a numeric box: the text written as a number, or nothing
// when the previous text is to be restored (out of range, or no finite number).
std::optional<std::string> PastedNumberText(const ValidateSettings& settings, std::string_view text);
