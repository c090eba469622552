#include "text_helpers.h"

#include <gtest/gtest.h>

#include "Cp1251.h"

using namespace cp1251_literals;

namespace {

TEST(TextHelpers, InsertAndRemoveEvery) {
    EXPECT_EQ(InsertEvery("ABCDEF", 2, " "), "AB CD EF");
    EXPECT_EQ(InsertEvery("ABCDEFG", 3, "--"), "ABC--DEF--G");
    EXPECT_EQ(InsertEvery("", 2, " "), "");
    EXPECT_EQ(InsertEvery("AB", 0, " "), "AB");
    EXPECT_EQ(RemoveEvery("AB CD EF GH", 3, 1), "ABCDEFGH");
    EXPECT_EQ(RemoveEvery("AB ", 3, 1), "AB ");  // the last character always stays
    EXPECT_EQ(RemoveEvery("ABCDEFG", 3, 2), "ABEG");
    EXPECT_EQ(RemoveEvery("", 3, 1), "");
    EXPECT_EQ(RemoveEvery("ABC", -1, 1), "ABC");
}

TEST(TextHelpers, PadKeepTrim) {
    EXPECT_EQ(PadLeft("7", 3, '0'), "007");
    EXPECT_EQ(PadLeft("1234", 3, '0'), "1234");
    std::string text = "a1b2c3";
    EXPECT_EQ(KeepOnly(text, "0123456789"), "123");
    EXPECT_EQ(text, "123");
    EXPECT_EQ(TrimText("\t  x y \r\n"), "x y");
    EXPECT_EQ(TrimText("\xA0x\xA0"), "\xA0x\xA0");  // a no-break space is not a blank
    EXPECT_EQ(TrimText(""), "");
}

TEST(TextHelpers, FindAllIgnoresCaseAndReportsOverlaps) {
    EXPECT_EQ(FindAll("aaaa", "aa"), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(FindAll("Ленина ЛЕНИНА"_cp, "ленин"_cp), (std::vector<int>{1, 8}));
    EXPECT_TRUE(FindAll("abc", "").empty());
    EXPECT_TRUE(FindAll("a", "abc").empty());
}

TEST(TextHelpers, ReplaceAll) {
    std::string same = "Abc abc";
    ReplaceAll(same, "ABC", "xyz");
    EXPECT_EQ(same, "xyz xyz");
    std::string longer = "a-b-c";
    ReplaceAll(longer, "-", "--");
    EXPECT_EQ(longer, "a--b--c");
    std::string shorter = "a--b--c";
    ReplaceAll(shorter, "--", "");
    EXPECT_EQ(shorter, "abc");
    std::string overlapping = "aaaa";
    ReplaceAll(overlapping, "aa", "b");  // must not crash or run past the end
    EXPECT_LE(overlapping.size(), 4u);
}

TEST(TextHelpers, CharacterClasses) {
    EXPECT_TRUE(IsDigitChar('0'));
    EXPECT_FALSE(IsDigitChar('a'));
    EXPECT_TRUE(IsHexChar('f'));
    EXPECT_FALSE(IsHexChar('g'));
    EXPECT_FALSE(IsHexChar('\0'));
    int letters = 0;
    for (unsigned code = 0; code < 256; ++code) letters += IsLayoutLetter(static_cast<char>(code)) ? 1 : 0;
    EXPECT_EQ(letters, 116);
    EXPECT_TRUE(IsLayoutLetter("й"_cp[0]));
    EXPECT_TRUE(IsLayoutLetter('Q'));
    EXPECT_FALSE(IsLayoutLetter("ё"_cp[0]));
    EXPECT_FALSE(IsLayoutLetter("Ё"_cp[0]));
    EXPECT_TRUE(IsInSet('x', "xyz"));
    EXPECT_FALSE(IsInSet('\0', "xyz"));
}

TEST(TextHelpers, SplitTextNumber) {
    struct Row {
        std::string input, text, number;
    };
    const Row rows[] = {
        {"COM3", "COM", "3"}, {"COM12", "COM", "12"}, {" 12ABC ", "ABC", "12"}, {"123", "", "123"},
        {"", "", ""},         {"ABC", "ABC", ""},     {"A1B2", "A1B", "2"},
    };
    for (const auto& row : rows) {
        std::string text = "junk", number = "junk";
        SplitTextNumber(row.input, text, number);
        EXPECT_EQ(text, row.text) << row.input;
        EXPECT_EQ(number, row.number) << row.input;
    }
}

TEST(TextHelpers, DecodePairs) {
    EXPECT_EQ(DecodePairs("\x42\x01\x43\x01"), "AB");
    EXPECT_EQ(DecodePairs("\x42\x01Z"), "AZ");
    EXPECT_EQ(DecodePairs("\x01\x02"), "\xFF");  // modulo 256
    EXPECT_EQ(DecodePairs(""), "");
}

TEST(TextHelpers, StrToIntDef) {
    EXPECT_EQ(StrToIntDef("5", 0), 5);
    EXPECT_EQ(StrToIntDef("  -12", 0), -12);
    EXPECT_EQ(StrToIntDef("+3", 0), 3);
    EXPECT_EQ(StrToIntDef("abc", 5), 5);
    EXPECT_EQ(StrToIntDef("", 5), 5);
    EXPECT_EQ(StrToIntDef("-", 5), 5);
    EXPECT_EQ(StrToIntDef("12 ", 5), 5);
    EXPECT_EQ(StrToIntDef("2147483647", 5), 2147483647);
    EXPECT_EQ(StrToIntDef("-2147483648", 5), INT32_MIN);
    EXPECT_EQ(StrToIntDef("2147483648", 5), 5);
    EXPECT_EQ(StrToIntDef("99999999999999999999", 5), 5);
}

TEST(TextHelpers, HexAndBinaryTexts) {
    EXPECT_EQ(HexToInt("1F", -1), 31);
    EXPECT_EQ(HexToInt("ff", -1), 255);
    EXPECT_EQ(HexToInt("FFFFFFFF", 0), -1);
    EXPECT_EQ(HexToInt("100000000", 7), 7);
    EXPECT_EQ(HexToInt("", 7), 7);
    EXPECT_EQ(HexToInt("1G", 7), 7);
    EXPECT_EQ(HexToBinText("A0", 0, -1), "10100000");
    EXPECT_EQ(HexToBinText("5", 0, 8), "00000101");
    EXPECT_EQ(HexToBinText("zz", 3, 4), "0011");
    EXPECT_EQ(BinTextToInt("101"), 5);
    EXPECT_EQ(BinTextToInt("1x1"), 5);  // anything but "1" counts as 0
    EXPECT_EQ(BinTextToInt(""), 0);
    EXPECT_EQ(BinToHexText("10100000", -1), "A0");
    EXPECT_EQ(BinToHexText("1", 4), "0001");
    EXPECT_EQ(BinToHexText("", -1), "0");
}

TEST(TextHelpers, HexPairValue) {
    EXPECT_EQ(HexPairValue("FF"), 255);
    EXPECT_EQ(HexPairValue("a0"), 160);
    EXPECT_EQ(HexPairValue("G5"), 5);
    EXPECT_EQ(HexPairValue("5G"), 0);
    EXPECT_EQ(HexPairValue(""), 0);
    EXPECT_EQ(HexPairValue("\xC0\xC1"), 0);
}

}  // namespace
