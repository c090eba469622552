#include "key_text.h"

#include "Cp1251.h"
#include "text_helpers.h"

uint8_t KeyCrc8(const uint8_t* data, std::size_t length) {
    uint8_t crc = 0;
    for (std::size_t i = 0; i < length; ++i) {
        uint8_t byte = data[i];
        for (int bit = 0; bit < 8; ++bit) {
            const bool mix = ((crc ^ byte) & 1) != 0;
            crc >>= 1;
            if (mix) crc ^= 0x8C;
            byte >>= 1;
        }
    }
    return crc;
}

bool NormalizeKeyText(std::string& text) {
    text = cp1251::ToUpper(TrimText(text));
    if (text.empty()) return false;
    std::string head = text.substr(0, kSpacedKeyLength);
    KeepOnly(head, "0123456789ABCDEF");
    text = head.substr(0, kKeyDigits);
    return text.size() == kKeyDigits;
}

bool SetKeyCrc(std::string& text, bool spaced) {
    if (spaced) text = RemoveEvery(text, 3, 1);
    if (text.size() != kKeyDigits) return false;
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i) {
        const std::string_view pair = std::string_view(text).substr(static_cast<std::size_t>(14 - 2 * i), 2);
        bytes[i] = static_cast<uint8_t>(IsHexChar(pair[0]) && IsHexChar(pair[1]) ? HexToInt(pair, 0) : 0);
    }
    static const char* hex = "0123456789ABCDEF";
    const uint8_t crc = KeyCrc8(bytes, 7);
    text[0] = hex[crc >> 4];
    text[1] = hex[crc & 15];
    if (spaced) text = SpaceKeyText(text);
    return true;
}

std::string SpaceKeyText(std::string_view text, char separator) {
    return InsertEvery(text, 2, std::string_view(&separator, 1));
}
