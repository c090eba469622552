#include "key_text.h"

#include <gtest/gtest.h>

#include "Cp1251.h"

using namespace cp1251_literals;

namespace {

TEST(KeyCrc8, PublishedCheckValue) {
    const uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(KeyCrc8(text, sizeof text), 0xA1);
    EXPECT_EQ(KeyCrc8(text, 0), 0);
}

TEST(NormalizeKeyText, Cases) {
    struct Row {
        std::string input;
        bool complete;
        std::string stored;
    };
    const Row rows[] = {
        {" ff ff ff ff ff ff ff ff ", true, "FFFFFFFFFFFFFFFF"},
        {"0123456789abcdef", true, "0123456789ABCDEF"},
        {"0123456789ABCDEF01", true, "0123456789ABCDEF"},           // extra digits dropped
        {"0123456789ABCDE", false, "0123456789ABCDE"},              // 15 digits
        {"0 1 2 3 4 5 6 7 8 9 A B C D E F", false, "0123456789AB"},  // only 12 digits in 23 characters
        {"", false, ""},
        {"   ", false, ""},
        {"\t01-23-45-67-89-AB-CD-EF\n", true, "0123456789ABCDEF"},
        // Cyrillic look-alikes (А, В, С, Е) and Latin G..Z are not digits.
        {"0А0В0С0Е" "0123456789"_cp, false, "00000123456789"},
        {"GZ0123456789ABCDEF", true, "0123456789ABCDEF"},
        {"\xFF\xFF\x80" "0123456789ABCDEF", true, "0123456789ABCDEF"},
    };
    for (const auto& row : rows) {
        std::string text = row.input;
        EXPECT_EQ(NormalizeKeyText(text), row.complete) << row.input;
        EXPECT_EQ(text, row.stored) << row.input;
    }
}

TEST(NormalizeKeyText, LowerCaseCyrillicIsDroppedNotMistaken) {
    std::string text = "ab cd ef 01 23 45 67 89 ё"_cp;
    EXPECT_TRUE(NormalizeKeyText(text));
    EXPECT_EQ(text, "ABCDEF0123456789");
}

TEST(SetKeyCrc, UnspacedKeys) {
    struct Row {
        std::string input, output;
    };
    const Row rows[] = {
        {"0000000000000000", "0000000000000000"},
        {"FFFFFFFFFFFFFFFF", "14FFFFFFFFFFFFFF"},
        {"00FFFFFFFFFFFFFF", "14FFFFFFFFFFFFFF"},  // the old check byte does not matter
        {"XX0000000000002D", "D70000000000002D"},
        {"ZZ00000000000001", "3D00000000000001"},  // family code 01 alone
    };
    for (const auto& row : rows) {
        std::string text = row.input;
        EXPECT_TRUE(SetKeyCrc(text, false)) << row.input;
        EXPECT_EQ(text, row.output) << row.input;
    }
}

TEST(SetKeyCrc, CheckByteIsTheCrcOfTheBytesFromTheLastPairBack) {
    std::string text = "0001020304050607";
    ASSERT_TRUE(SetKeyCrc(text, false));
    const uint8_t bytes[] = {0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
    static const char* hex = "0123456789ABCDEF";
    const uint8_t crc = KeyCrc8(bytes, 7);
    EXPECT_EQ(text.substr(0, 2), (std::string{hex[crc >> 4], hex[crc & 15]}));
    EXPECT_EQ(text.substr(2), "01020304050607");
}

TEST(SetKeyCrc, PairsThatAreNotHexCountAsZero) {
    std::string withJunk = "00000000000000G1";
    std::string withZero = "0000000000000000";
    ASSERT_TRUE(SetKeyCrc(withJunk, false));
    ASSERT_TRUE(SetKeyCrc(withZero, false));
    EXPECT_EQ(withJunk.substr(0, 2), withZero.substr(0, 2));
}

TEST(SetKeyCrc, SpacedForm) {
    std::string text = "00 FF FF FF FF FF FF FF";
    ASSERT_TRUE(SetKeyCrc(text, true));
    EXPECT_EQ(text, "14 FF FF FF FF FF FF FF");

    std::string shortSpaced = "00 FF FF";
    EXPECT_FALSE(SetKeyCrc(shortSpaced, true));
    EXPECT_EQ(shortSpaced, "00FFFF");  // separators gone even on failure
}

TEST(SetKeyCrc, WrongLengthUnspacedChangesNothing) {
    for (std::string text : {"", "0", "FFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFFF", "FF FF FF FF FF FF FF FF"}) {
        const std::string before = text;
        EXPECT_FALSE(SetKeyCrc(text, false)) << before;
        EXPECT_EQ(text, before);
    }
}

TEST(SpaceKeyText, Pairs) {
    EXPECT_EQ(SpaceKeyText("0123456789ABCDEF"), "01 23 45 67 89 AB CD EF");
    EXPECT_EQ(SpaceKeyText("ABCDE"), "AB CD E");
    EXPECT_EQ(SpaceKeyText("AB", '-'), "AB");
    EXPECT_EQ(SpaceKeyText(""), "");
}

}  // namespace
