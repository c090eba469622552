#pragma once
// The one CP1251 codec of the program. The model keeps its texts as CP1251
// bytes; every conversion to or from Unicode goes through these functions.

#include <cstddef>
#include <string>
#include <string_view>

namespace cp1251 {

// Byte written for a Unicode character that has no CP1251 code.
inline constexpr char kReplacement = '?';

char16_t ToUnicode(unsigned char code);
// False when the character has no CP1251 code; `out` is then kReplacement.
bool FromUnicode(char32_t ch, char& out);

std::u16string ToUtf16(std::string_view text);
std::string FromUtf16(std::u16string_view text);
std::string ToUtf8(std::string_view text);
// Malformed UTF-8 sequences become kReplacement, one per offending byte.
std::string FromUtf8(std::string_view text);

// Case mapping as the Russian Windows locale does it: Latin letters and every
// Cyrillic letter of the code page, Ё/ё included; other bytes are unchanged.
char ToUpper(char c);
char ToLower(char c);
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);

}  // namespace cp1251

// "Текст"_cp: a UTF-8 literal of the source turned into CP1251 bytes.
namespace cp1251_literals {
std::string operator""_cp(const char* text, std::size_t length);
}
