#pragma once
// Keys and memory images for the tests of the device link.

#include <cstdio>
#include <string>
#include <vector>

#include "Orb31Emulator.h"
#include "key_text.h"
#include "records.h"

inline BaseRecord KeyEntry(const std::string& hex) {
    BaseRecord key;
    key.KeyHex = hex;
    return key;
}

// A sound key with its check byte, the number in its last pairs.
inline BaseRecord SoundKey(int n) {
    char text[32];
    std::snprintf(text, sizeof text, "00A0B0C0D0E0%04X", static_cast<unsigned>(n) & 0xFFFFu);
    BaseRecord key = KeyEntry(text);
    SetKeyCrc(key.KeyHex, false);
    return key;
}

// Keys numbered from `first`.
inline std::vector<BaseRecord> SoundKeys(int n, int first = 1) {
    std::vector<BaseRecord> keys;
    for (int i = 0; i < n; ++i) keys.push_back(SoundKey(first + i));
    return keys;
}

inline void PutKey(Orb31Emulator::Memory& memory, int cell, const std::string& hex) {
    for (std::size_t b = 0; b < 8; ++b)
        memory[static_cast<std::size_t>(cell) * 8 + b] =
            static_cast<std::uint8_t>(std::stoi(hex.substr(2 * b, 2), nullptr, 16));
}

// `before` with the cells written from cell 0 and the report bytes from 800.
inline Orb31Emulator::Memory WrittenImage(Orb31Emulator::Memory before, const std::vector<BaseRecord>& cells,
                                          const std::string& report) {
    for (std::size_t c = 0; c < cells.size(); ++c) PutKey(before, static_cast<int>(c), cells[c].KeyHex);
    for (std::size_t i = 0; i < report.size(); ++i) before[800 + i] = static_cast<std::uint8_t>(report[i]);
    return before;
}
