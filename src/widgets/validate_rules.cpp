#include "validate_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "Cp1251.h"
#include "text_helpers.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsControl(char c) { return static_cast<unsigned char>(c) < 32; }
bool StartsWithMinus(std::string_view text) { return !text.empty() && text.front() == '-'; }
bool IsFloatType(TValidateType type) { return type == vtFloat || type == vtFloatPs; }

// Nothing may be typed before a leading minus sign.
bool DigitBeforeMinus(const EditState& edit) {
    return edit.selStart == 0 && edit.selLength == 0 && StartsWithMinus(TrimText(edit.text));
}

bool MinusAllowed(const EditState& edit) {
    if (edit.selStart != 0) return false;
    return edit.selLength != 0 || !StartsWithMinus(edit.text);
}

std::string_view Selected(const EditState& edit) {
    const std::size_t start = std::min<std::size_t>(static_cast<std::size_t>(std::max(edit.selStart, 0)), edit.text.size());
    return edit.text.substr(start, static_cast<std::size_t>(std::max(edit.selLength, 0)));
}

bool PointAllowed(const EditState& edit) {
    if (edit.selLength > 0 && Selected(edit).find('.') != std::string_view::npos) return true;
    return edit.text.find('.') == std::string_view::npos;
}

// The caret behind a point that already has Mantissa digits after it.
bool ProcessMantissa(const ValidateSettings& settings, const EditState& edit) {
    const std::size_t point = edit.text.find('.');
    if (point == std::string_view::npos) return true;
    const std::size_t p = point + 1;
    const bool full = edit.text.size() - p >= static_cast<std::size_t>(std::max(settings.Mantissa, 0));
    return !(full && edit.selStart >= static_cast<int>(p));
}

// The number the text would hold with the typed character in place of the
// selection.
bool ProcessRangeMode(const ValidateSettings& settings, const EditState& edit, char ch) {
    if (!settings.RangeMode || !IsNumericType(settings.ValidateType)) return true;
    const std::size_t start = std::min<std::size_t>(static_cast<std::size_t>(std::max(edit.selStart, 0)), edit.text.size());
    std::string candidate(edit.text.substr(0, start));
    candidate += ch;
    candidate += edit.text.substr(std::min(edit.text.size(), start + Selected(edit).size()));
    const double value = LeadingNumber(candidate);
    return value <= settings.MaxValue && value >= settings.MinValue;
}

bool FProcessKeyInteger(const ValidateSettings& s, const EditState& e, char ch) {
    if (IsDigit(ch)) return !DigitBeforeMinus(e) && ProcessRangeMode(s, e, ch);
    if (ch == '-') return MinusAllowed(e);
    return false;
}

bool FProcessKeyIntegerPs(const ValidateSettings& s, const EditState& e, char ch) {
    return IsDigit(ch) && ProcessRangeMode(s, e, ch);
}

bool FProcessKeyFloat(const ValidateSettings& s, const EditState& e, char ch) {
    if (IsDigit(ch)) return !DigitBeforeMinus(e) && ProcessMantissa(s, e) && ProcessRangeMode(s, e, ch);
    if (ch == '-') return MinusAllowed(e);
    if (ch == '.') return PointAllowed(e);
    return false;
}

bool FProcessKeyFloatPs(const ValidateSettings& s, const EditState& e, char ch) {
    if (IsDigit(ch)) return ProcessMantissa(s, e) && ProcessRangeMode(s, e, ch);
    if (ch == '.') return PointAllowed(e);
    return false;
}

bool FProcessKeyHex(char ch) { return IsHexChar(ch); }

bool FProcessKeyCustom(std::string_view allowed, char ch) {
    const auto code = static_cast<unsigned char>(ch);
    for (std::size_t i = 0; i < allowed.size();) {
        if (i + 2 < allowed.size() && allowed[i + 1] == '-') {
            if (code >= static_cast<unsigned char>(allowed[i]) && code <= static_cast<unsigned char>(allowed[i + 2]))
                return true;
            i += 3;
        } else {
            if (ch == allowed[i]) return true;
            ++i;
        }
    }
    return false;
}

}  // namespace

bool IsNumericType(TValidateType type) {
    return type == vtInteger || type == vtIntegerPs || type == vtFloat || type == vtFloatPs;
}

void SetValidateType(ValidateSettings& settings, TValidateType type) {
    settings.ValidateType = type;
    settings.RangeMode = false;
    settings.MaxValue = 1;
    settings.MinValue = 0;
    settings.Mantissa = IsFloatType(type) ? 2 : 0;
    if (type != vtCustom) settings.ValidateString.clear();
}

void SetValidateString(ValidateSettings& settings, std::string_view validateString) {
    settings.ValidateString = std::string(validateString);
    if (!validateString.empty()) settings.ValidateType = vtCustom;
}

bool FProcessKey(const ValidateSettings& settings, const EditState& edit, char& ch) {
    if (IsControl(ch)) return true;
    bool pass = true;
    switch (settings.ValidateType) {
        case vtNone: break;
        case vtCustom: pass = FProcessKeyCustom(settings.ValidateString, ch); break;
        case vtInteger: pass = FProcessKeyInteger(settings, edit, ch); break;
        case vtIntegerPs: pass = FProcessKeyIntegerPs(settings, edit, ch); break;
        case vtFloat: pass = FProcessKeyFloat(settings, edit, ch); break;
        case vtFloatPs: pass = FProcessKeyFloatPs(settings, edit, ch); break;
        case vtHex: pass = FProcessKeyHex(ch); break;
        case vtHexUp:
            ch = cp1251::ToUpper(ch);
            pass = FProcessKeyHex(ch);
            break;
        case vtHexLo:
            ch = cp1251::ToLower(ch);
            pass = FProcessKeyHex(ch);
            break;
        case vtOnlyDigits: pass = IsDigit(ch); break;
    }
    if (!pass) ch = 0;
    return pass;
}

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    if (digits == 0) return 0;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            i = j;
        } else {
            negativeExponent = false;
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + i, value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

std::string FilterPasteText(const ValidateSettings& settings, std::string_view pasted) {
    if (IsNumericType(settings.ValidateType)) return std::string(pasted);
    std::string kept;
    for (char c : pasted) {
        // A line break or tab from another program has no place in a filtered box.
        if (IsControl(c)) continue;
        if (FProcessKey(settings, EditState{}, c)) kept += c;
    }
    return kept;
}

std::optional<std::string> PastedNumberText(const ValidateSettings& settings, std::string_view text) {
    const double value = LeadingNumber(text);
    if (!std::isfinite(value)) return std::nullopt;
    if (settings.RangeMode && (value > settings.MaxValue || value < settings.MinValue)) return std::nullopt;
    const int decimals = IsFloatType(settings.ValidateType) ? std::clamp(settings.Mantissa, 0, 100) : 0;
    char buffer[std::numeric_limits<double>::max_exponent10 + 110];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return std::nullopt;
    return std::string(buffer, end);
}
