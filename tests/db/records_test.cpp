#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "Cp1251.h"
#include "address_groups.h"
#include "address_text.h"
#include "db_fixtures.h"
#include "recording_reporter.h"
#include "records.h"

using namespace cp1251_literals;

namespace {

TEST(SameAddress, TextsCompareExactlyAndNumbersMustMatch) {
    const BaseRecord base = Row("Ленина", "10а", 1, 2);
    struct Case {
        BaseRecord other;
        bool same;
    } cases[] = {
        {Row("Ленина", "10а", 1, 2, "FFFFFFFFFFFFFFFF", true, "другой"), true},  // key, flag, comment don't count
        {Row("ленина", "10а", 1, 2), false},
        {Row("Ленина ", "10а", 1, 2), false},
        {Row("Ленина", "10А", 1, 2), false},
        {Row("Ленина", "10а", 0, 2), false},
        {Row("Ленина", "10а", 1, 3), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameAddress(base, c.other), c.same) << c.other.Street << '|' << c.other.House;
        EXPECT_EQ(!AddressLess(base, c.other) && !AddressLess(c.other, base), c.same);
        if (c.same) {
            EXPECT_EQ(AddressHash(base), AddressHash(c.other));
        }
    }
}

TEST(DatabaseModel, FindRowByNumberAfterRenumberingRemovalsAndAppends) {
    NullReporter report;
    DatabaseModel model(report);
    for (int i = 0; i < 6; ++i) model.Rows.push_back(Row("S", std::to_string(i), 0, 0));
    model.RenumberRows();
    EXPECT_EQ(model.FindRowByNumber(1), 0);
    EXPECT_EQ(model.FindRowByNumber(6), 5);
    EXPECT_EQ(model.FindRowByNumber(0), -1);
    EXPECT_EQ(model.FindRowByNumber(7), -1);
    EXPECT_EQ(model.FindRowByNumber(-3), -1);

    model.Rows.erase(model.Rows.begin() + 1);  // Numbers now 1 3 4 5 6
    model.Rows.push_back(Row("S", "new", 0, 0));
    EXPECT_EQ(model.FindRowByNumber(1), 0);
    EXPECT_EQ(model.FindRowByNumber(2), -1);
    EXPECT_EQ(model.FindRowByNumber(3), 1);
    EXPECT_EQ(model.FindRowByNumber(6), 4);
    EXPECT_EQ(model.FindRowByNumber(0), 5);
}

TEST(DatabaseModel, CollectStreetsKeepsFirstSpellingInOrderOfAppearance) {
    NullReporter report;
    DatabaseModel model(report);
    model.Streets = {"old"};
    model.Rows = {Row("Мира", "1", 0, 0), Row("Ленина", "1", 0, 0), Row("Мира", "2", 0, 0), Row("мира", "3", 0, 0),
                  Row("Ленина", "4", 0, 0)};
    model.CollectStreets();
    EXPECT_EQ(model.Streets, (std::vector<std::string>{"Мира"_cp, "Ленина"_cp, "мира"_cp}));
}

TEST(DatabaseModel, ReorderRowsSortsRenumbersAndCollectsStreets) {
    NullReporter report;
    DatabaseModel model(report);
    model.Rows = {Row("Мира", "2", 0, 0), Row("Ленина", "1", 0, 0), Row("Мира", "1", 0, 0)};
    model.ReorderRows();
    EXPECT_EQ(AddressCaption(model.Rows[0], false), "Ленина 1"_cp);
    EXPECT_EQ(AddressCaption(model.Rows[2], false), "Мира 2"_cp);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(model.Rows[static_cast<std::size_t>(i)].Number, i + 1);
    EXPECT_EQ(model.Streets, (std::vector<std::string>{"Ленина"_cp, "Мира"_cp}));
}

// The rule as stated: every row regroups the whole list.
void ReferenceNormalize(std::vector<BaseRecord>& rows) {
    for (const auto& r : std::vector<BaseRecord>(rows)) {
        std::vector<std::size_t> group;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (SameAddress(rows[i], r)) group.push_back(i);
        int defaults = 0;
        for (auto i : group) defaults += rows[i].KeyDef;
        if (defaults == 1) continue;
        for (auto i : group) rows[i].KeyDef = false;
        rows[group.front()].KeyDef = true;
    }
}

std::vector<bool> Defaults(const std::vector<BaseRecord>& rows) {
    std::vector<bool> flags;
    for (const auto& r : rows) flags.push_back(r.KeyDef);
    return flags;
}

TEST(DatabaseModel, NormalizeDefaultKeysLeavesOneDefaultPerAddress) {
    RecordingReporter report;
    DatabaseModel model(report);
    model.Rows = {
        // two defaults: the first in the program's order (key 01...) keeps it
        Row("A", "1", 0, 0, "FF00000000000000", true), Row("A", "1", 0, 0, "0100000000000000", true),
        // none: the first becomes the default
        Row("B", "1", 0, 0, "FF00000000000000"), Row("B", "1", 0, 0, "0100000000000000"),
        // exactly one, not the first: unchanged
        Row("C", "1", 0, 0, "0100000000000000"), Row("C", "1", 0, 0, "FF00000000000000", true),
        // a different entrance is another address
        Row("C", "1", 0, 1, "0200000000000000"),
    };
    model.NormalizeDefaultKeys();
    ASSERT_EQ(model.Rows.size(), 7u);
    EXPECT_EQ(Defaults(model.Rows), (std::vector<bool>{true, false, true, false, false, true, true}));
    EXPECT_EQ(model.Rows[0].KeyHex, "0100000000000000");
    EXPECT_EQ(model.Rows[5].KeyHex, "FF00000000000000");
    EXPECT_EQ(report.progressBegun, 1);
    EXPECT_EQ(report.progressMaximum, 7);
    EXPECT_EQ(report.progressSteps, 7);
    EXPECT_FALSE(report.progressOpen);
    EXPECT_GE(report.processed, 7);
}

TEST(DatabaseModel, NormalizeDefaultKeysOfNothingOpensAndClosesItsProgress) {
    RecordingReporter report;
    DatabaseModel model(report);
    model.NormalizeDefaultKeys();
    EXPECT_TRUE(model.Rows.empty());
    EXPECT_EQ(report.progressBegun, 1);
    EXPECT_EQ(report.progressMaximum, 0);
    EXPECT_FALSE(report.progressOpen);
}

// NormalizeDefaultKeys against the program's order followed by the rule as stated.
void ExpectNormalizedAsTheRule(const std::vector<BaseRecord>& rows, int round) {
    NullReporter report;
    DatabaseModel model(report);
    model.Rows = rows;
    DatabaseModel reference(report);
    reference.Rows = rows;
    reference.ReorderRows();
    ReferenceNormalize(reference.Rows);
    model.NormalizeDefaultKeys();
    ASSERT_EQ(model.Rows.size(), reference.Rows.size());
    for (std::size_t i = 0; i < model.Rows.size(); ++i) {
        ASSERT_EQ(model.Rows[i].KeyHex, reference.Rows[i].KeyHex);
        EXPECT_EQ(model.Rows[i].KeyDef, reference.Rows[i].KeyDef) << "round " << round << " row " << i;
    }
}

TEST(DatabaseModel, NormalizeDefaultKeysAgreesWithTheRuleOnRawFlags) {
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        std::vector<BaseRecord> rows;
        const int n = 30 + static_cast<int>(random() % 150);
        for (int i = 0; i < n; ++i)
            rows.push_back(Row(random() % 2 ? "X" : "Y", std::to_string(random() % 4), 0,
                               static_cast<int>(random() % 2), std::to_string(1000 + i), random() % 2 == 0));
        ExpectNormalizedAsTheRule(rows, round);
    }
}

// Houses "3" and "03" sort alike but are two addresses, so the sort cannot
// hand over its runs of one address; huge corpus numbers take the separate
// passes. The rule must come out the same either way.
TEST(DatabaseModel, NormalizeDefaultKeysAgreesWithTheRuleWhereTheSortCannotGroup) {
    std::mt19937 random(23);
    for (int round = 0; round < 10; ++round) {
        std::vector<BaseRecord> rows;
        const int n = 40 + static_cast<int>(random() % 200);
        for (int i = 0; i < n; ++i) {
            const std::string house = (random() % 2 ? "0" : "") + std::to_string(random() % 4);
            const int32_t corpus = round % 2 ? static_cast<int32_t>(random() % 2) : (random() % 2 ? INT32_MIN : INT32_MAX);
            rows.push_back(Row(random() % 2 ? "X" : "Y", house, corpus, static_cast<int>(random() % 2),
                               std::to_string(1000 + i), random() % 2 == 0));
        }
        ExpectNormalizedAsTheRule(rows, round);
    }
}

TEST(DatabaseModel, IsDuplicateRowComparesAddressAndKeyOnly) {
    RecordingReporter report;
    DatabaseModel model(report);
    model.Rows = {Row("Мира", "1", 0, 2, "0100000000000000", true, "старый")};
    EXPECT_TRUE(model.IsDuplicateRow(Row("Мира", "1", 0, 2, "0100000000000000", false, "новый"), false));
    ASSERT_EQ(report.messages.size(), 1u);
    EXPECT_EQ(report.Last().text, "Такой адрес и ключ были уже добавлены ранее!"_cp);
    EXPECT_EQ(report.Last().kind, kMessageError);
    EXPECT_TRUE(model.IsDuplicateRow(model.Rows[0], true));
    EXPECT_FALSE(model.IsDuplicateRow(Row("Мира", "1", 0, 2, "0200000000000000"), false));
    EXPECT_FALSE(model.IsDuplicateRow(Row("Мира", "1", 0, 3, "0100000000000000"), false));
    EXPECT_EQ(report.messages.size(), 1u);
}

TEST(AddressText, CaptionInItsThreeFormsLongAndShort) {
    struct Case {
        BaseRecord row;
        bool shortened;
        const char* caption;
    } cases[] = {
        {Row("Ленина", "10а", 2, 0), false, "Ленина 10а/2-0"},
        {Row("Ленина", "10а", 0, 3), false, "Ленина 10а-3"},
        {Row("Ленина", "10а", 0, 0), false, "Ленина 10а"},
        {Row("Ленина", "", 0, 0), false, "Ленина "},
        {Row("проспект Мира", "12", 0, 3), false, "проспект Мира 12-3"},
        {Row("проспект Мира", "12", 0, 3), true, "проспект  12-3"},
        {Row("Мира", "12", 0, 3), true, "Мира 12-3"},
        {Row("проспект Мира", "123456789012", 1, 1), true, "п 123456789012/1-1"},  // the street keeps one character
        {Row("", "5", 0, 0), true, " 5"},
    };
    for (const auto& c : cases) EXPECT_EQ(AddressCaption(c.row, c.shortened), cp1251::FromUtf8(c.caption));
}

TEST(AddressText, AddressTextLineHasSevenTabSeparatedFields) {
    EXPECT_EQ(AddressTextLine(Row("Мира", "1/2", -1, 3, "0100000000000000", true, "у двери")),
              "Мира\t1/2\t-1\t3\t0100000000000000\tу двери\t1\n"_cp);
    EXPECT_EQ(AddressTextLine(Row("", "", 0, 0, "", false)), "\t\t0\t0\t\t\t0\n");
}

uint64_t EveryAddressCollides(const BaseRecord&) { return 42; }

class AddressGroupsTest : public ::testing::TestWithParam<AddressGroups::Hash> {};

TEST_P(AddressGroupsTest, FindsEveryRowOfAnAddressInOrder) {
    std::mt19937 random(3);
    std::vector<BaseRecord> rows;
    for (int i = 0; i < 500; ++i)
        rows.push_back(Row(random() % 2 ? "Мира" : "мира", std::to_string(random() % 5),
                           static_cast<int>(random() % 2), static_cast<int>(random() % 2)));
    // Runs of one address next to each other, as in the program's order.
    for (int i = 0; i < 5; ++i) rows.push_back(rows.front());
    const AddressGroups groups(rows, {}, GetParam());
    for (std::size_t g = 1; g < groups.GroupCount(); ++g) EXPECT_LT(groups.Group(g - 1)[0], groups.Group(g)[0]);
    std::size_t total = 0;
    for (std::size_t g = 0; g < groups.GroupCount(); ++g) total += groups.Group(g).size();
    EXPECT_EQ(total, rows.size());
    for (const auto& probe : rows) {
        std::vector<uint32_t> expected;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (SameAddress(rows[i], probe)) expected.push_back(static_cast<uint32_t>(i));
        const auto found = groups.Find(probe);
        EXPECT_EQ(std::vector<uint32_t>(found.begin(), found.end()), expected);
    }
    EXPECT_TRUE(groups.Find(Row("Нет", "1", 0, 0)).empty());

    const AddressGroups onlyHouse1(rows, [](const BaseRecord& r) { return r.House == "1"; }, GetParam());
    std::size_t house1 = 0;
    for (std::size_t g = 0; g < onlyHouse1.GroupCount(); ++g)
        for (uint32_t pos : onlyHouse1.Group(g)) house1 += rows[pos].House == "1";
    EXPECT_EQ(house1, static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(),
                                                             [](const BaseRecord& r) { return r.House == "1"; })));
    EXPECT_TRUE(onlyHouse1.Find(Row("Мира", "2", 0, 0)).empty());
}

INSTANTIATE_TEST_SUITE_P(Hashes, AddressGroupsTest, ::testing::Values(&AddressHash, &EveryAddressCollides));

}  // namespace
