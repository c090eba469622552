#pragma once
// A colour property that can also be given as "#RRGGBB" text. The text
// "#ignore" keeps the two apart: the colour is then set only directly.

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::string_view kIgnoreColorText = "#ignore";

class ColorTextProperty {
public:
    explicit ColorTextProperty(uint32_t color) : color_(color) {}

    // Other than "#ignore", the text is read as an HTMLColor: the stored text
    // is the parsed one ("#000000" for a text of another length than 7) and
    // the colour follows it.
    void SetText(std::string_view text);
    // Rewrites the text unless it is "#ignore".
    void SetColor(uint32_t color);

    const std::string& Text() const { return text_; }
    uint32_t Color() const { return color_; }

private:
    std::string text_{kIgnoreColorText};
    uint32_t color_;
};
