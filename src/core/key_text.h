#pragma once
// The key text rules: 16 upper-case hexadecimal digits, the first pair the
// 1-Wire CRC-8 of the other seven bytes read from the last pair backwards;
// shown as eight pairs separated by single spaces.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::string_view kBlankKey = "FFFFFFFFFFFFFFFF";
inline constexpr std::size_t kKeyDigits = 16;
inline constexpr std::size_t kSpacedKeyLength = 23;

// CRC-8 of 1-Wire devices (x^8 + x^5 + x^4 + 1, least significant bit first,
// initial value 0, no final inversion).
uint8_t KeyCrc8(const uint8_t* data, std::size_t length);

// Trims, upper-cases, keeps the hexadecimal digits among the first 23
// characters, at most 16 of them. True when 16 digits remain; the text is
// stored back in either case.
bool NormalizeKeyText(std::string& text);

// Puts the check byte into the first pair. With `spaced` the text is taken
// and returned in the 23-character form; its separators are dropped even
// when the result is false.
bool SetKeyCrc(std::string& text, bool spaced);

std::string SpaceKeyText(std::string_view text, char separator = ' ');
