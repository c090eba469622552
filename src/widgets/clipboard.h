#pragma once
// Clipboard text exchange. The model's CP1251 texts go to and come from the
// system clipboard as Unicode text through the one codec.

#include <string>

// Clipboard formats as the callers name them.
inline constexpr int kCfText = 1;
inline constexpr int kCfUnicodeText = 13;

// An empty text leaves the clipboard as it is.
void ClipboardSetText(const std::string& text, int format);
void ClipboardSetUnicode(const std::string& text);
// "" when the clipboard holds no text or cannot be read; characters without
// a CP1251 code become '?'.
std::string ClipboardGetText();
