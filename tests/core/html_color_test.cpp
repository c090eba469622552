#include "html_color.h"

#include <gtest/gtest.h>

namespace {

TEST(HTMLColor, TextToColourIsRedInTheLowByte) {
    HTMLColor c;
    EXPECT_EQ(c.Text(), "#000000");
    EXPECT_EQ(c.Color(), 0u);
    c.SetText("#FF0000");
    EXPECT_EQ(c.Color(), 0x0000FFu);
    c.SetText("#123456");
    EXPECT_EQ(c.Color(), 0x563412u);
    c.SetText("x00ff00");  // the first character is not looked at
    EXPECT_EQ(c.Color(), 0x00FF00u);
    EXPECT_EQ(c.Text(), "x00ff00");
}

TEST(HTMLColor, BadLengthsResetToDefault) {
    for (const char* text : {"#FF000", "#FF00000", "", "#"}) {
        HTMLColor c(0xFFFFFF);
        c.SetText(text);
        EXPECT_EQ(c.Text(), "#000000") << text;
        EXPECT_EQ(c.Color(), 0u) << text;
    }
}

TEST(HTMLColor, FromColour) {
    HTMLColor c(0xF0FBFF);
    EXPECT_EQ(c.Text(), "#FFFBF0");
    EXPECT_EQ(c.Color(), 0xF0FBFFu);
}

TEST(ShiftColor, WrapsEachChannel) {
    EXPECT_EQ(ShiftColor(200, 226, 0, 0), 170u);
    EXPECT_EQ(ShiftColor(0x10C8C8, 226, 226, 226), 0xF2AAAAu);
    EXPECT_EQ(ShiftColor(0x000005, -10, 30, 0), 0x001EFBu);
}

}  // namespace
