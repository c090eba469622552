#include "mask_model.h"

#include <gtest/gtest.h>

#include "Cp1251.h"

using namespace cp1251_literals;

namespace {

constexpr const char* kKeyMask = "XX HH HH HH HH HH HH HH";

// The key entry of the address dialog.
MaskModel KeyEntry(std::string_view text = "0000000000000000") {
    MaskModel model;
    model.SetMaskType(msKeyHex8b);
    model.SetMask(kKeyMask);
    model.SetBeginCaretPos(10);
    model.SetEndCaretPos(20);
    model.SetText(text);
    return model;
}

// Display with the blank symbol shown as "_" for readable expectations.
std::string Shown(const MaskModel& model) {
    std::string shown = model.Display();
    for (char& c : shown)
        if (c == model.BlankSymbol()) c = '_';
    return shown;
}

TEST(MaskModel, DisplayBuiltFromMaskAndText) {
    struct Row {
        const char* mask;
        TMaskType type;
        std::string text;
        std::string display;  // "_" for the blank symbol
        std::string readBack;
    };
    const Row rows[] = {
        {kKeyMask, msKeyHex8b, "0000000000000000", "00 00 00 00 00 00 00 00", "0000000000000000"},
        // The check byte replaces whatever the text brings for it.
        {kKeyMask, msKeyHex8b, "CR00000000000001", "3D 00 00 00 00 00 00 01", "3D00000000000001"},
        {kKeyMask, msKeyHex8b, "00000000000000c0", "50 00 00 00 00 00 00 C0", "50000000000000C0"},
        // Nothing entered: blanks, read as "0", and the check byte of zeros.
        {kKeyMask, msKeyHex8b, "", "00 __ __ __ __ __ __ __", "0000000000000000"},
        {kKeyMask, msKeyHex8b, "00G0000000000000", "00 _0 00 00 00 00 00 00", "0000000000000000"},
        {"DD-AA", msCustom, "12яz"_cp, "12-ЯZ"_cp, "12ЯZ"_cp},
        {"DD-AA", msCustom, "1x", "1_-__", "1\x95\x95\x95"},
        {"(DDD) HH", msCustom, "123ab", "(123) AB", "123AB"},
        {"DDDD", msCustom, "1234567", "1234", "1234"},
    };
    for (const auto& row : rows) {
        MaskModel model;
        model.SetMaskType(row.type);
        model.SetMask(row.mask);
        model.SetText(row.text);
        EXPECT_EQ(Shown(model), row.display) << row.mask << " " << row.text;
        EXPECT_EQ(model.Text(), row.readBack) << row.mask << " " << row.text;
    }
}

TEST(MaskModel, CaretMovesOnlyOverEditablePositions) {
    struct Row {
        int caret;
        int direction;
        bool exitAtEnd;
        int expected;
        bool leave;
    };
    const Row rows[] = {
        {4, -1, true, 4, false},    // the check byte is not editable
        {10, -1, true, 8, false},   // over the separator
        {5, +1, true, 7, false},
        {11, +1, true, 13, false},
        {20, +1, true, 20, true},   // EndCaretPos
        {20, +1, false, 20, false},
        {22, +1, true, 23, false},
        {23, +1, true, 23, true},   // the last position
        {23, +1, false, 23, false},
        {1, 0, true, 4, false},     // snapping: only one side has an editable position
        {3, 0, true, 4, false},
        {6, 0, true, 5, false},     // a tie goes back
        {30, 0, true, 23, false},
    };
    for (const auto& row : rows) {
        MaskModel model = KeyEntry();
        model.SetExitAtEnd(row.exitAtEnd);
        model.SetCaret(row.caret);
        EXPECT_EQ(model.CheckCaretPos(row.direction), row.leave) << row.caret << " " << row.direction;
        EXPECT_EQ(model.Caret(), row.expected) << row.caret << " " << row.direction;
        EXPECT_TRUE(model.CaretVisible());
    }
}

TEST(MaskModel, MaskWithoutEditablePositionsHidesTheCaret) {
    MaskModel model;
    model.SetMask("XX-XX");
    model.FocusIn();
    EXPECT_FALSE(model.CaretVisible());
    model.TypeChar('1');
    EXPECT_EQ(Shown(model), "__-__");
}

TEST(MaskModel, TypingKeepsTheCheckByte) {
    MaskModel model = KeyEntry();
    model.FocusIn();
    EXPECT_EQ(model.Caret(), 10);
    EXPECT_FALSE(model.TypeChar('5'));
    EXPECT_EQ(model.Caret(), 11);
    EXPECT_EQ(model.Text(), "7B00005000000000");

    // Refused characters leave text and caret; the check byte stays right.
    for (char c : {'G', 'z', ' ', '-'} ) EXPECT_FALSE(model.TypeChar(c));
    EXPECT_FALSE(model.TypeChar("ф"_cp[0]));
    EXPECT_EQ(model.Caret(), 11);
    EXPECT_EQ(model.Text(), "7B00005000000000");

    model.SetCaret(20);
    EXPECT_TRUE(model.TypeChar('7'));  // stored, and the focus moves on
    EXPECT_EQ(model.Text(), "FE00005000000700");
}

TEST(MaskModel, LowerCaseHexIsStoredUpperCase) {
    MaskModel model = KeyEntry();
    model.SetCaret(22);
    model.TypeChar('c');
    EXPECT_EQ(model.Text(), "50000000000000C0");
}

TEST(MaskModel, LayoutLettersInLetterPositions) {
    MaskModel model;
    model.SetMask("AA-DD");
    model.SetEndCaretPos(5);
    model.FocusIn();
    for (char c : "фz1"_cp) model.TypeChar(c);
    model.TypeChar("ё"_cp[0]);  // not on a letter key of either layout
    model.TypeChar('4');
    EXPECT_EQ(Shown(model), "ФZ-14"_cp);
}

TEST(MaskModel, TypingOverASelectionBlanksIt) {
    MaskModel model = KeyEntry();
    model.SetSelection(8, 4);  // either order
    model.TypeChar('a');
    EXPECT_EQ(Shown(model), "AF A_ __ 00 00 00 00 00");
    EXPECT_EQ(model.Caret(), 5);
    EXPECT_FALSE(model.HasSelection());
    EXPECT_EQ(model.Text(), "AFA0000000000000");
}

TEST(MaskModel, ShiftArrowsGrowTheSelection) {
    MaskModel model = KeyEntry();
    model.SetCaret(4);
    for (int i = 0; i < 4; ++i) model.ArrowKey(+1, true);
    EXPECT_EQ(model.SelStart(), 4);
    EXPECT_EQ(model.SelEnd(), 8);
    EXPECT_EQ(model.Caret(), 8);
    EXPECT_EQ(model.CopySelection(), "00 00");
    model.ArrowKey(-1, false);
    EXPECT_FALSE(model.HasSelection());
    EXPECT_EQ(model.Caret(), 7);

    model.SetCaret(1);
    model.ArrowKey(-1, true);  // not below position 1
    EXPECT_EQ(model.SelEnd(), 1);
    EXPECT_EQ(model.Caret(), 4);
}

TEST(MaskModel, CopyReadsBlanksAsZeroInKeyMode) {
    MaskModel model = KeyEntry("");
    EXPECT_EQ(model.CopyAll(), "00 00 00 00 00 00 00 00");
    EXPECT_FALSE(model.HasSelection());
    EXPECT_EQ(model.CopySelection(), "");
}

TEST(MaskModel, PasteFillsPositionsFromTheCaret) {
    struct Row {
        const char* mask;
        TMaskType type;
        std::string before;
        int caret;
        std::string pasted;
        std::string display;
    };
    const Row rows[] = {
        {kKeyMask, msKeyHex8b, "0000000000000000", 4, "9C3E5A7F0B2D4618", "A5 9C 3E 5A 7F 0B 2D 46"},
        // Spaced, lower case, with blanks around: normalised first.
        {kKeyMask, msKeyHex8b, "0000000000000000", 4, " 9c 3e 5a 7f 0b 2d 46 18 ", "A5 9C 3E 5A 7F 0B 2D 46"},
        // The pairs before the caret keep their digits.
        {kKeyMask, msKeyHex8b, "0012340000000000", 10, "9C3E5A7F0B2D4618", "DB 12 34 9C 3E 5A 7F 0B"},
        // An incomplete key goes in as far as it reaches.
        {kKeyMask, msKeyHex8b, "0000000000000000", 19, "C0", "9F 00 00 00 00 00 C0 00"},
        {"DD-AA", msCustom, "", 1, "1 2x3y", "12-XY"},
        {"DD-AA", msCustom, "", 2, "78", "_7-__"},
        {"DD-AA", msCustom, "", 1, "", "__-__"},
    };
    for (const auto& row : rows) {
        MaskModel model;
        model.SetMaskType(row.type);
        model.SetMask(row.mask);
        model.SetText(row.before);
        model.SetCaret(row.caret);
        model.Paste(row.pasted);
        EXPECT_EQ(Shown(model), row.display) << row.pasted << " at " << row.caret;
        EXPECT_EQ(model.Caret(), row.caret);
    }
}

TEST(MaskModel, LeavingTheKeyEntryFillsBlanksWithZeros) {
    MaskModel model = KeyEntry();
    model.SetSelection(4, 5);
    model.TypeChar('G');  // blanks the pair, stores nothing
    EXPECT_EQ(Shown(model), "00 __ 00 00 00 00 00 00");
    model.FocusOut();
    EXPECT_EQ(Shown(model), "00 00 00 00 00 00 00 00");

    MaskModel custom;
    custom.SetMask("DD");
    custom.FocusOut();
    EXPECT_EQ(Shown(custom), "__");
}

TEST(MaskModel, PositionUnderThePointer) {
    const std::vector<int> widths{10, 10, 10};
    const std::pair<int, int> rows[] = {{-5, 1}, {3, 1}, {4, 1}, {12, 1}, {13, 2}, {32, 3}, {33, 3}, {500, 3}};
    for (auto [x, pos] : rows) EXPECT_EQ(MaskPositionAtX(widths, 3, x), pos) << x;
    EXPECT_EQ(MaskPositionAtX({}, 3, 50), 1);
}

}  // namespace
