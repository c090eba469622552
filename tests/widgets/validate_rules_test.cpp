#include "validate_rules.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Cp1251.h"

using namespace cp1251_literals;

namespace {

ValidateSettings Typed(TValidateType type) {
    ValidateSettings settings;
    SetValidateType(settings, type);
    return settings;
}

struct KeyRow {
    TValidateType type;
    const char* text;
    int selStart;
    int selLength;
    char typed;
    char result;  // 0: rejected
};

void CheckKeys(const ValidateSettings& settings, std::initializer_list<KeyRow> rows) {
    for (const auto& row : rows) {
        ValidateSettings s = settings;
        s.ValidateType = row.type;
        char ch = row.typed;
        const bool passed = FProcessKey(s, EditState{row.text, row.selStart, row.selLength}, ch);
        EXPECT_EQ(ch, row.result) << row.type << " '" << row.text << "' at " << row.selStart << "+" << row.selLength
                                  << " typed " << row.typed;
        EXPECT_EQ(passed, row.result != 0);
    }
}

TEST(ValidateRules, SignedAndUnsignedIntegers) {
    CheckKeys(Typed(vtInteger), {
                                    {vtInteger, "12", 0, 0, '-', '-'},
                                    {vtInteger, "-12", 0, 0, '-', 0},
                                    {vtInteger, "-12", 0, 0, '5', 0},  // nothing before the minus sign
                                    {vtInteger, " -12", 0, 0, '5', 0},
                                    {vtInteger, "-12", 0, 1, '-', '-'},  // replaces the sign
                                    {vtInteger, "-12", 0, 1, '5', '5'},
                                    {vtInteger, "-12", 3, 0, '5', '5'},
                                    {vtInteger, "12", 1, 0, '-', 0},
                                    {vtInteger, "12", 2, 0, '.', 0},
                                    {vtInteger, "12", 2, 0, 'a', 0},
                                    {vtIntegerPs, "12", 0, 0, '-', 0},
                                    {vtIntegerPs, "12", 2, 0, '.', 0},
                                    {vtIntegerPs, "12", 2, 0, '7', '7'},
                                    {vtInteger, "12", 2, 0, '\b', '\b'},  // control characters always pass
                                });
}

TEST(ValidateRules, FloatsWithMantissa) {
    const ValidateSettings floats = Typed(vtFloat);
    ASSERT_EQ(floats.Mantissa, 2);
    CheckKeys(floats, {
                          {vtFloat, "3.14", 4, 0, '1', 0},    // a third decimal
                          {vtFloat, "3.14", 1, 0, '1', '1'},  // before the point
                          {vtFloat, "3.14", 0, 0, '1', '1'},
                          {vtFloat, "3.1", 3, 0, '5', '5'},
                          {vtFloat, "3.14", 4, 0, '.', 0},
                          {vtFloat, "3.14", 1, 2, '.', '.'},  // the selection holds the point
                          {vtFloat, "3.14", 2, 2, '.', 0},
                          {vtFloat, "3", 1, 0, '.', '.'},
                          {vtFloat, "3.14", 0, 0, '-', '-'},
                          {vtFloat, "-3.14", 0, 0, '-', 0},
                          {vtFloat, "-3.14", 0, 0, '2', 0},
                          {vtFloat, "3", 1, 0, ',', 0},
                          {vtFloatPs, "3", 0, 0, '-', 0},
                          {vtFloatPs, "3", 1, 0, '.', '.'},
                          {vtFloatPs, "3.14", 4, 0, '9', 0},
                          {vtFloatPs, "3.14", 0, 0, '9', '9'},
                      });
}

TEST(ValidateRules, HexDigitsAndCustomSets) {
    ValidateSettings custom;
    SetValidateString(custom, "0-9A-F_");
    CheckKeys(custom, {
                          {vtHex, "", 0, 0, 'a', 'a'},
                          {vtHex, "", 0, 0, 'G', 0},
                          {vtHexUp, "", 0, 0, 'a', 'A'},
                          {vtHexUp, "", 0, 0, 'g', 0},
                          {vtHexLo, "", 0, 0, 'B', 'b'},
                          {vtOnlyDigits, "", 0, 0, '7', '7'},
                          {vtOnlyDigits, "", 0, 0, '-', 0},
                          {vtOnlyDigits, "", 0, 0, '\r', '\r'},
                          {vtCustom, "", 0, 0, '5', '5'},
                          {vtCustom, "", 0, 0, 'C', 'C'},
                          {vtCustom, "", 0, 0, 'c', 0},
                          {vtCustom, "", 0, 0, '_', '_'},
                          {vtCustom, "", 0, 0, '-', 0},
                          {vtNone, "", 0, 0, '\xC9', '\xC9'},
                      });
    ValidateSettings cyrillic;
    SetValidateString(cyrillic, "А-Я-"_cp);  // a trailing "-" stands for itself
    CheckKeys(cyrillic, {
                            {vtCustom, "", 0, 0, "Ж"_cp[0], "Ж"_cp[0]},
                            {vtCustom, "", 0, 0, "ж"_cp[0], 0},
                            {vtCustom, "", 0, 0, '-', '-'},
                        });
}

TEST(ValidateRules, RangeChecksTheTextAsItWouldBecome) {
    ValidateSettings settings = Typed(vtInteger);
    settings.RangeMode = true;
    settings.MinValue = 0;
    settings.MaxValue = 100;
    CheckKeys(settings, {
                            {vtInteger, "10", 2, 0, '0', '0'},
                            {vtInteger, "10", 2, 0, '1', 0},   // 101
                            {vtInteger, "10", 0, 0, '5', 0},   // 510
                            {vtInteger, "99", 0, 2, '7', '7'},  // 7
                            {vtInteger, "99", 1, 1, '0', '0'},  // 90
                        });
}

TEST(ValidateRules, RangeWithSelectionReplaced) {
    ValidateSettings settings = Typed(vtIntegerPs);
    settings.RangeMode = true;
    settings.MaxValue = 20;
    struct Row {
        const char* text;
        int start, length;
        char typed;
        bool passes;
    };
    const Row rows[] = {
        {"123", 1, 2, '9', true},   // "19"
        {"123", 0, 2, '9', false},  // "93"
        {"5", 0, 1, '7', true},     // "7", not "75"
        {"1", 1, 0, '9', true},
        {"2", 1, 0, '1', false},
    };
    for (const auto& row : rows) {
        char ch = row.typed;
        EXPECT_EQ(FProcessKey(settings, EditState{row.text, row.start, row.length}, ch), row.passes) << row.text;
    }
    settings.MinValue = 10;  // a lower limit refuses the first digit of most numbers
    char ch = '5';
    EXPECT_FALSE(FProcessKey(settings, EditState{"", 0, 0}, ch));
}

TEST(ValidateRules, TypeAndStringSettersReset) {
    ValidateSettings settings = Typed(vtFloat);
    settings.RangeMode = true;
    settings.MaxValue = 5;
    settings.MinValue = -5;
    settings.Mantissa = 4;
    SetValidateString(settings, "");
    EXPECT_EQ(settings.ValidateType, vtFloat);
    SetValidateString(settings, "abc");
    EXPECT_EQ(settings.ValidateType, vtCustom);
    EXPECT_TRUE(settings.RangeMode);
    EXPECT_EQ(settings.Mantissa, 4);
    EXPECT_EQ(settings.MaxValue, 5);
    EXPECT_EQ(settings.MinValue, -5);

    SetValidateType(settings, vtCustom);
    EXPECT_EQ(settings.ValidateString, "abc");
    EXPECT_FALSE(settings.RangeMode);
    EXPECT_EQ(settings.MaxValue, 1);
    EXPECT_EQ(settings.MinValue, 0);
    EXPECT_EQ(settings.Mantissa, 0);
    SetValidateType(settings, vtFloatPs);
    EXPECT_EQ(settings.ValidateString, "");
    EXPECT_EQ(settings.Mantissa, 2);
}

TEST(ValidateRules, LeadingNumber) {
    const std::pair<const char*, double> rows[] = {
        {"12.7", 12.7}, {"  -3.5e2xyz", -350}, {"+4", 4}, {"1e", 1}, {"1e+", 1}, {".5", 0.5}, {"5.", 5},
        {"abc", 0},     {"", 0},               {"-", 0},  {".", 0},  {"12,5", 12}, {"1e-400", 0},
    };
    for (auto [text, value] : rows) EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
    EXPECT_TRUE(std::isinf(LeadingNumber("1e400")));
}

TEST(ValidateRules, Paste) {
    struct Row {
        TValidateType type;
        const char* pasted;
        std::string kept;
    };
    const Row rows[] = {
        {vtHexUp, "a1g2", "A12"},
        {vtOnlyDigits, "1 2x3", "123"},
        {vtOnlyDigits, "12\r\n", "12"},
        {vtIntegerPs, "-5", "-5"},  // numeric boxes take the text as it is
        {vtFloat, "abc", "abc"},
        {vtHexLo, "FfX", "ff"},
    };
    for (const auto& row : rows) EXPECT_EQ(FilterPasteText(Typed(row.type), row.pasted), row.kept) << row.pasted;

    struct NumberRow {
        TValidateType type;
        int mantissa;
        const char* text;
        std::optional<std::string> result;
    };
    const NumberRow numbers[] = {
        {vtInteger, 0, "12.7", "13"},    {vtInteger, 0, "abc", "0"},       {vtIntegerPs, 0, "-5", "-5"},
        {vtFloat, 2, "3.14159", "3.14"}, {vtFloat, 3, "2", "2.000"},       {vtFloatPs, 2, "7.5abc", "7.50"},
        {vtInteger, 0, "1e400", std::nullopt},
    };
    for (const auto& row : numbers) {
        ValidateSettings settings = Typed(row.type);
        settings.Mantissa = row.mantissa;
        EXPECT_EQ(PastedNumberText(settings, row.text), row.result) << row.text;
    }
    ValidateSettings ranged = Typed(vtInteger);
    ranged.RangeMode = true;
    ranged.MaxValue = 100;
    EXPECT_EQ(PastedNumberText(ranged, "500"), std::nullopt);
    EXPECT_EQ(PastedNumberText(ranged, "100"), "100");
    EXPECT_EQ(PastedNumberText(ranged, "-1"), std::nullopt);
}

}  // namespace
