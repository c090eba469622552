#include "Cp1251.h"

#include <array>

namespace cp1251 {
namespace {

// 0x80..0xBF as Windows defines code page 1251; 0x98 has no character and
// maps to U+0098 as the system conversion does, so all 256 codes round-trip.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// Upper/lower pairs among 0x80..0xBF (Cyrillic letters outside А..я).
struct CasePair {
    unsigned char upper, lower;
};
constexpr std::array<CasePair, 15> kCasePairs = {{
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
    {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
    {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
}};

constexpr unsigned char U(char c) { return static_cast<unsigned char>(c); }

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `pos`; returns its length, 0 when malformed.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
    const unsigned char lead = U(text[pos]);
    std::size_t len = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        len = 2, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > text.size()) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const unsigned char c = U(text[pos + i]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

char16_t ToUnicode(unsigned char code) {
    if (code < 0x80) return code;
    if (code >= 0xC0) return static_cast<char16_t>(0x0410 + (code - 0xC0));
    return kHigh[code - 0x80];
}

bool FromUnicode(char32_t ch, char& out) {
    if (ch < 0x80) {
        out = static_cast<char>(ch);
        return true;
    }
    if (ch >= 0x0410 && ch <= 0x044F) {
        out = static_cast<char>(0xC0 + (ch - 0x0410));
        return true;
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == ch) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    }
    out = kReplacement;
    return false;
}

std::u16string ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text) out += ToUnicode(U(c));
    return out;
}

std::string FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t ch = text[i];
        // A surrogate pair is one character outside the code page.
        if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        char c;
        FromUnicode(ch, c);
        out += c;
    }
    return out;
}

std::string ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) AppendUtf8(out, ToUnicode(U(c)));
    return out;
}

std::string FromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(text, pos, cp);
        char c = kReplacement;
        if (len == 0) {
            ++pos;
        } else {
            FromUnicode(cp, c);
            pos += len;
        }
        out += c;
    }
    return out;
}

char ToUpper(char c) {
    const unsigned char b = U(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    if (b >= 0xE0) return static_cast<char>(b - 32);
    if (b < 0x80) return c;
    for (const auto& p : kCasePairs)
        if (p.lower == b) return static_cast<char>(p.upper);
    return c;
}

char ToLower(char c) {
    const unsigned char b = U(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    if (b >= 0xC0 && b <= 0xDF) return static_cast<char>(b + 32);
    if (b < 0x80) return c;
    for (const auto& p : kCasePairs)
        if (p.upper == b) return static_cast<char>(p.lower);
    return c;
}

std::string ToUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ToUpper(c);
    return out;
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ToLower(c);
    return out;
}

}  // namespace cp1251

namespace cp1251_literals {
std::string operator""_cp(const char* text, std::size_t length) {
    return cp1251::FromUtf8(std::string_view(text, length));
}
}  // namespace cp1251_literals
