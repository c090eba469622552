#include "text_helpers.h"

#include <algorithm>

#include "Cp1251.h"

namespace {

constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kHexDigits = "0123456789ABCDEFabcdef";

// Keyboard order of both layouts; the CP1251 codes of the Cyrillic rows
// are given as bytes so that the set does not depend on the source encoding.
const std::string& LayoutLetters() {
    using namespace cp1251_literals;
    static const std::string letters = "йцукенгшщзхъфывапролджэячсмитьбю"
                                       "ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ"
                                       "qwertyuiopasdfghjklzxcvbnm"
                                       "QWERTYUIOPASDFGHJKLZXCVBNM"_cp;
    return letters;
}

std::string ToBase(uint32_t value, unsigned base) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    do {
        out += digits[value % base];
        value /= base;
    } while (value != 0);
    std::reverse(out.begin(), out.end());
    return out;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string TrimText(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

std::string InsertEvery(std::string_view text, int n, std::string_view separator) {
    if (n <= 0) return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if ((i + 1) % static_cast<std::size_t>(n) == 0 && i + 1 < text.size()) out += separator;
    }
    return out;
}

std::string RemoveEvery(std::string_view text, int n, int width) {
    if (n <= 0 || width <= 0) return std::string(text);
    std::string out;
    std::size_t skip = 0;
    for (std::size_t pos = 1; pos <= text.size(); ++pos) {
        if (pos % static_cast<std::size_t>(n) == 0) skip = static_cast<std::size_t>(width);
        const bool last = pos == text.size();
        if (skip > 0 && !last) {
            --skip;
            continue;
        }
        skip = skip > 0 ? skip - 1 : 0;
        out += text[pos - 1];
    }
    return out;
}

std::string PadLeft(std::string_view text, int width, char fill) {
    std::string out(text);
    if (width > 0 && out.size() < static_cast<std::size_t>(width))
        out.insert(0, static_cast<std::size_t>(width) - out.size(), fill);
    return out;
}

std::string KeepOnly(std::string& text, std::string_view allowed) {
    std::string out;
    for (char c : text)
        if (IsInSet(c, allowed)) out += c;
    text = out;
    return out;
}

std::vector<int> FindAll(std::string_view text, std::string_view pattern) {
    std::vector<int> positions;
    if (pattern.empty() || pattern.size() > text.size()) return positions;
    const std::string hay = cp1251::ToLower(text);
    const std::string needle = cp1251::ToLower(pattern);
    for (std::size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1))
        positions.push_back(static_cast<int>(at) + 1);
    return positions;
}

void ReplaceAll(std::string& text, std::string_view find, std::string_view replace) {
    std::vector<int> positions = FindAll(text, find);
    if (find.size() == replace.size()) {
        for (int pos : positions) text.replace(static_cast<std::size_t>(pos - 1), replace.size(), replace);
        return;
    }
    // Overlapping finds land inside an earlier replacement; the bounds checks
    // keep that harmless.
    const auto findLen = static_cast<int>(find.size());
    const auto replaceLen = static_cast<int>(replace.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const int pos = positions[i];
        if (pos < 1 || static_cast<std::size_t>(pos - 1) > text.size()) continue;
        text.erase(static_cast<std::size_t>(pos - 1), find.size());
        text.insert(static_cast<std::size_t>(pos - 1), replace);
        for (std::size_t j = i + 1; j < positions.size(); ++j) positions[j] += replaceLen - findLen;
    }
}

bool IsInSet(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }
bool IsDigitChar(char c) { return IsInSet(c, kDigits); }
bool IsLayoutLetter(char c) { return IsInSet(c, LayoutLetters()); }
bool IsHexChar(char c) { return IsInSet(c, kHexDigits); }

void SplitTextNumber(std::string_view text, std::string& textPart, std::string& numberPart) {
    const std::string t = TrimText(text);
    textPart.clear();
    numberPart.clear();
    if (t.empty()) return;
    const bool digitsLast = IsDigitChar(t.back());
    std::size_t split = t.size();
    while (split > 0 && IsDigitChar(t[split - 1]) == digitsLast) --split;
    if (digitsLast) {
        textPart = t.substr(0, split);
        numberPart = t.substr(split);
    } else {
        textPart = t.substr(split);
        numberPart = t.substr(0, split);
    }
}

std::string DecodePairs(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    for (; i + 1 < text.size(); i += 2)
        out += static_cast<char>(static_cast<unsigned char>(text[i]) - static_cast<unsigned char>(text[i + 1]));
    if (i < text.size()) out += text[i];
    return out;
}

int32_t StrToIntDef(std::string_view text, int32_t fallback) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return fallback;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigitChar(text[i])) return fallback;
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{1} << 31) return fallback;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return fallback;
    return static_cast<int32_t>(value);
}

int32_t HexToInt(std::string_view text, int32_t fallback) {
    if (text.empty()) return fallback;
    uint64_t value = 0;
    for (char c : text) {
        const int d = HexDigitValue(c);
        if (d < 0) return fallback;
        value = value * 16 + static_cast<uint64_t>(d);
        if (value > UINT32_MAX) return fallback;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::string HexToBinText(std::string_view text, int32_t fallback, int width) {
    const std::string bits = ToBase(static_cast<uint32_t>(HexToInt(text, fallback)), 2);
    return width == -1 ? bits : PadLeft(bits, width, '0');
}

int32_t BinTextToInt(std::string_view text) {
    uint32_t value = 0;
    for (char c : text) value = (value << 1) | (c == '1' ? 1u : 0u);
    return static_cast<int32_t>(value);
}

std::string BinToHexText(std::string_view text, int width) {
    const std::string hex = ToBase(static_cast<uint32_t>(BinTextToInt(text)), 16);
    return width == -1 ? hex : PadLeft(hex, width, '0');
}

int32_t HexPairValue(std::string_view text) {
    uint32_t sum = 0, place = 1;
    for (std::size_t i = text.size(); i > 0; --i) {
        const char c = cp1251::ToUpper(text[i - 1]);
        const int d = (c >= 'A' && c <= 'F') || IsDigitChar(c) ? HexDigitValue(c) : -1;
        if (d < 0) break;
        sum += static_cast<uint32_t>(d) * place;
        place *= 16;
    }
    return static_cast<int32_t>(sum);
}
