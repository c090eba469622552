#pragma once
// Small text rules shared by the windows, the controls and the file code.
// Texts are CP1251 bytes; positions count from 1 where a position is returned.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Drops leading and trailing bytes up to and including the blank (control
// characters and spaces), as the program trims typed and stored texts.
std::string TrimText(std::string_view text);

std::string InsertEvery(std::string_view text, int n, std::string_view separator);
std::string RemoveEvery(std::string_view text, int n, int width);
std::string PadLeft(std::string_view text, int width, char fill);
std::string KeepOnly(std::string& text, std::string_view allowed);
void ReplaceAll(std::string& text, std::string_view find, std::string_view replace);
std::vector<int> FindAll(std::string_view text, std::string_view pattern);

bool IsInSet(char c, std::string_view set);
bool IsDigitChar(char c);
bool IsLayoutLetter(char c);
bool IsHexChar(char c);

// "COM12" → "COM", "12"; "12ABC" → "ABC", "12".
void SplitTextNumber(std::string_view text, std::string& textPart, std::string& numberPart);
// Each pair of characters gives one: the first's code minus the second's.
std::string DecodePairs(std::string_view text);

// Decimal integer with an optional sign and leading blanks, as the program's
// number conversions read it; `fallback` when the text is anything else or
// does not fit 32 bits.
int32_t StrToIntDef(std::string_view text, int32_t fallback);

int32_t HexToInt(std::string_view text, int32_t fallback);
std::string HexToBinText(std::string_view text, int32_t fallback, int width);
int32_t BinTextToInt(std::string_view text);
std::string BinToHexText(std::string_view text, int width);
int32_t HexPairValue(std::string_view text);
