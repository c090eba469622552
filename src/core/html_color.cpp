#include "html_color.h"

#include "text_helpers.h"

HTMLColor::HTMLColor(uint32_t color) {
    static const char* hex = "0123456789ABCDEF";
    std::string text = "#";
    for (int shift : {0, 8, 16}) {
        const unsigned byte = (color >> shift) & 0xFF;
        text += hex[byte >> 4];
        text += hex[byte & 15];
    }
    SetText(text);
}

void HTMLColor::SetText(std::string_view text) {
    if (text.size() != 7) {
        text_ = "#000000";
        color_ = 0;
        return;
    }
    text_ = std::string(text);
    const auto channel = [&](std::size_t at) { return static_cast<uint32_t>(HexPairValue(text.substr(at, 2))); };
    color_ = channel(1) + channel(3) * 256 + channel(5) * 65536;
}

uint32_t ShiftColor(uint32_t color, int dr, int dg, int db) {
    const auto add = [&](int shift, int delta) {
        return ((((color >> shift) & 0xFFu) + static_cast<uint32_t>(delta)) & 0xFFu) << shift;
    };
    return add(0, dr) | add(8, dg) | add(16, db);
}
