#include "color_text.h"

#include "html_color.h"

void ColorTextProperty::SetText(std::string_view text) {
    if (text == kIgnoreColorText) {
        text_ = std::string(text);
        return;
    }
    HTMLColor parsed;
    parsed.SetText(text);
    text_ = parsed.Text();
    color_ = parsed.Color();
}

void ColorTextProperty::SetColor(uint32_t color) {
    color_ = color;
    if (text_ != kIgnoreColorText) text_ = HTMLColor(color).Text();
}
