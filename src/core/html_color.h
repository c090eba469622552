#pragma once
// A colour held both as "#RRGGBB" text and as a screen colour value (red in
// the low byte, then green, then blue).

#include <cstdint>
#include <string>
#include <string_view>

class HTMLColor {
public:
    HTMLColor() = default;
    explicit HTMLColor(uint32_t color);

    // A 7-character text is read as #RRGGBB (its first character is not
    // looked at); any other length resets to "#000000" and 0.
    void SetText(std::string_view text);
    const std::string& Text() const { return text_; }
    uint32_t Color() const { return color_; }

private:
    std::string text_ = "#000000";
    uint32_t color_ = 0;
};

// Adds to each channel modulo 256 (-10 is 246); it wraps, it does not clamp.
uint32_t ShiftColor(uint32_t color, int dr, int dg, int db);
