#include "Cp1251.h"

#include <gtest/gtest.h>

using namespace cp1251_literals;

namespace {

std::string Byte(unsigned v) { return std::string(1, static_cast<char>(v)); }

TEST(Cp1251, EveryCodeRoundTripsThroughUtf16AndUtf8) {
    for (unsigned code = 0; code < 256; ++code) {
        const std::string one = Byte(code);
        EXPECT_EQ(cp1251::FromUtf16(cp1251::ToUtf16(one)), one) << code;
        EXPECT_EQ(cp1251::FromUtf8(cp1251::ToUtf8(one)), one) << code;
    }
}

TEST(Cp1251, TableAsWindowsDefinesIt) {
    struct Row {
        unsigned code;
        char16_t unicode;
    };
    const Row rows[] = {
        {0x41, u'A'},     {0x80, u'Ђ'},     {0x88, u'€'},     {0x98, 0x0098},   {0xA0, 0x00A0},
        {0xA8, u'Ё'},     {0xB8, u'ё'},     {0xB9, u'№'},     {0xC0, u'А'},     {0xDF, u'Я'},
        {0xE0, u'а'},     {0xFF, u'я'},     {0x96, u'–'},     {0x97, u'—'},     {0xAB, u'«'},
        {0xBB, u'»'},     {0xA5, u'Ґ'},     {0xB4, u'ґ'},     {0xB2, u'І'},     {0xB3, u'і'},
    };
    for (const auto& row : rows) EXPECT_EQ(cp1251::ToUnicode(static_cast<unsigned char>(row.code)), row.unicode);
}

TEST(Cp1251, UnmappableCharactersBecomeQuestionMarks) {
    char out = 0;
    EXPECT_FALSE(cp1251::FromUnicode(U'ä', out));
    EXPECT_EQ(out, '?');
    EXPECT_EQ(cp1251::FromUtf8("a\xE4\xB8\xAD" "b"), "a?b");   // a CJK character
    EXPECT_EQ(cp1251::FromUtf8("\xF0\x9F\x98\x80"), "?");       // outside the BMP
    EXPECT_EQ(cp1251::FromUtf16(u"\U0001F600x"), "?x");         // one surrogate pair, one '?'
    EXPECT_EQ(cp1251::FromUtf8("\xC3"), "?");                   // truncated sequence
    EXPECT_EQ(cp1251::FromUtf8("\xC0\x80"), "??");              // overlong NUL
    EXPECT_EQ(cp1251::FromUtf8("\xED\xA0\x80"), "???");         // lone surrogate
}

TEST(Cp1251, LiteralsAreCp1251Bytes) {
    EXPECT_EQ("Ёж"_cp, "\xA8\xE6");
    EXPECT_EQ(cp1251::ToUtf8("Ёж"_cp), "Ёж");
}

TEST(Cp1251, CaseOfEveryCyrillicLetter) {
    // А..Я and а..я, then the letters of the other Cyrillic alphabets in the page.
    for (unsigned upper = 0xC0; upper <= 0xDF; ++upper) {
        EXPECT_EQ(cp1251::ToLower(static_cast<char>(upper)), static_cast<char>(upper + 32));
        EXPECT_EQ(cp1251::ToUpper(static_cast<char>(upper + 32)), static_cast<char>(upper));
    }
    const std::pair<std::string, std::string> pairs[] = {
        {"Ё"_cp, "ё"_cp}, {"Ђ"_cp, "ђ"_cp}, {"Ѓ"_cp, "ѓ"_cp}, {"Љ"_cp, "љ"_cp}, {"Њ"_cp, "њ"_cp},
        {"Ќ"_cp, "ќ"_cp}, {"Ћ"_cp, "ћ"_cp}, {"Џ"_cp, "џ"_cp}, {"Ў"_cp, "ў"_cp}, {"Ј"_cp, "ј"_cp},
        {"Ґ"_cp, "ґ"_cp}, {"Є"_cp, "є"_cp}, {"Ї"_cp, "ї"_cp}, {"І"_cp, "і"_cp}, {"Ѕ"_cp, "ѕ"_cp},
    };
    for (const auto& [up, low] : pairs) {
        EXPECT_EQ(cp1251::ToLower(up), low) << cp1251::ToUtf8(up);
        EXPECT_EQ(cp1251::ToUpper(low), up) << cp1251::ToUtf8(low);
    }
}

TEST(Cp1251, CaseLeavesNonLettersAlone) {
    int changed = 0;
    for (unsigned code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        if (cp1251::ToUpper(c) == c) continue;
        ++changed;
        // Mapping up and back down is the identity for lower-case letters.
        EXPECT_EQ(cp1251::ToLower(cp1251::ToUpper(c)), c) << code;
    }
    EXPECT_EQ(changed, 26 + 32 + 15);  // Latin, Russian, the other Cyrillic letters
    EXPECT_EQ(cp1251::ToUpper("№ 1-z"_cp), "№ 1-Z"_cp);  // № is not a letter
    EXPECT_EQ(cp1251::ToUpper(std::string_view("\xB5")), "\xB5");       // µ has no capital here
}

}  // namespace
