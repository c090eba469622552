#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "Cp1251.h"
#include "db_fixtures.h"
#include "record_order.h"

using namespace cp1251_literals;

namespace {

std::vector<std::string> Column(const std::vector<BaseRecord>& rows, std::string BaseRecord::*field) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(cp1251::ToUtf8(r.*field));
    return out;
}

TEST(RecordOrder, StreetsInByteOrderOfTheCodePage) {
    std::vector<BaseRecord> rows = {Row("ленина", "1", 0, 0), Row("Ленина", "1", 0, 0), Row("Lenina", "1", 0, 0),
                                    Row("Абая", "1", 0, 0),   Row("Ёлочная", "1", 0, 0), Row("lenina", "1", 0, 0),
                                    Row("1-я Линия", "1", 0, 0)};
    SortProgramOrder(rows);
    EXPECT_EQ(Column(rows, &BaseRecord::Street),
              (std::vector<std::string>{"1-я Линия", "Lenina", "lenina", "Ёлочная", "Абая", "Ленина", "ленина"}));
}

TEST(RecordOrder, HousesByNumberThenPaddedText) {
    std::vector<BaseRecord> rows;
    for (const char* house : {"10", "2", "10а", "10/1", "а", "", "10б"}) rows.push_back(Row("Мира", house, 0, 0));
    SortProgramOrder(rows);
    EXPECT_EQ(Column(rows, &BaseRecord::House),
              (std::vector<std::string>{"", "2", "а", "10", "10а", "10б", "10/1"}));
}

TEST(RecordOrder, HouseComparison) {
    struct Case {
        const char *a, *b;
        bool before;
    } cases[] = {
        {"2", "10", true},   {"10", "2", false},   {"10", "10а", true}, {"10а", "10б", true},
        {"10а", "10/1", true}, {"", "1", true},    {"а", "2", false},   {"а", "10", true},
        {"10", "10", false}, {"-1", "1", true},    {"0", "", false},    {"", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HouseBefore(cp1251::FromUtf8(c.a), cp1251::FromUtf8(c.b)), c.before) << c.a << " < " << c.b;
}

TEST(RecordOrder, LeadingInteger) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"12а", 12},      {"  7/1", 7},     {"-5", -5},   {"+3", 3},         {"a1", 0},
        {"", 0},          {"-", 0},         {"007", 7},   {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(LeadingInteger(cp1251::FromUtf8(c.text)), c.value) << c.text;
}

TEST(RecordOrder, CorpusEntranceAndKeyAfterTheHouse) {
    std::vector<BaseRecord> rows = {
        Row("Мира", "1", 0, 3, "FF00000000000000"), Row("Мира", "1", 0, 0, "FF00000000000000"),
        Row("Мира", "1", 0, 3, "0100000000000000"), Row("Мира", "1", -1, 9, "AA00000000000000"),
        Row("Мира", "1", 1, 0, "0000000000000000"),
    };
    SortProgramOrder(rows);
    std::vector<std::string> got;
    for (const auto& r : rows) got.push_back(std::to_string(r.Corpus) + "/" + std::to_string(r.Entrance) + " " + r.KeyHex);
    EXPECT_EQ(got, (std::vector<std::string>{"-1/9 AA00000000000000", "0/0 FF00000000000000",
                                             "0/3 0100000000000000", "0/3 FF00000000000000",
                                             "1/0 0000000000000000"}));
}

TEST(RecordOrder, RowsEqualInAllFiveKeysKeepTheirOrder) {
    std::vector<BaseRecord> rows;
    for (int i = 0; i < 100; ++i)
        rows.push_back(Row(i % 2 ? "Б" : "А", "1", 0, 0, "0000000000000000", false, std::to_string(i)));
    SortProgramOrder(rows);
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (rows[i].Street == rows[i - 1].Street) {
            EXPECT_LT(std::stoi(rows[i - 1].Report), std::stoi(rows[i].Report));
        }
}

// The five passes written plainly over whole rows, with the same stable sort.
void ReferenceOrder(std::vector<BaseRecord>& rows) {
    StableMergeSort(rows, [](const BaseRecord& a, const BaseRecord& b) { return a.KeyHex < b.KeyHex; });
    StableMergeSort(rows, [](const BaseRecord& a, const BaseRecord& b) { return a.Entrance < b.Entrance; });
    StableMergeSort(rows, [](const BaseRecord& a, const BaseRecord& b) { return a.Corpus < b.Corpus; });
    StableMergeSort(rows, [](const BaseRecord& a, const BaseRecord& b) { return HouseBefore(a.House, b.House); });
    StableMergeSort(rows, [](const BaseRecord& a, const BaseRecord& b) { return a.Street < b.Street; });
}

std::string RandomText(std::mt19937& random, const std::string& alphabet, std::size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (auto& c : text) c = alphabet[random() % alphabet.size()];
    return text;
}

TEST(RecordOrder, MatchesThePlainFivePassesOnMixedTexts) {
    std::mt19937 random(5);
    // Long shared prefixes, zero bytes, high codes and long houses reach
    // every path of the sort.
    const std::string streetAlphabet = std::string("aA \0\xC0\xE0\xFF", 7);
    const std::string houseAlphabet = "0123456789/- a\xE0";
    for (int round = 0; round < 30; ++round) {
        std::vector<BaseRecord> rows;
        const int n = 1 + static_cast<int>(random() % 400);
        for (int i = 0; i < n; ++i) {
            BaseRecord r;
            r.Street = std::string(random() % 3 * 16, 'x') + RandomText(random, streetAlphabet, 20);
            r.House = round % 2 ? RandomText(random, houseAlphabet, random() % 8 == 0 ? 24 : 5)
                                : std::to_string(random() % 30) + (random() % 4 ? "" : "\xE0");
            r.Corpus = static_cast<int32_t>(random() % 3) - 1;
            r.Entrance = static_cast<int32_t>(random() % 4);
            // Keys longer than 16 characters only in odd rounds: even rounds take
            // the ranked sort, odd ones the separate passes.
            r.KeyHex = round % 2 ? RandomText(random, "0F\xFF", 18) : RandomText(random, "0F", 16);
            r.Report = std::to_string(i);
            rows.push_back(r);
        }
        std::vector<BaseRecord> expected = rows;
        ReferenceOrder(expected);
        std::vector<std::string> streets;
        SortProgramOrder(rows, &streets);
        ASSERT_EQ(Column(rows, &BaseRecord::Report), Column(expected, &BaseRecord::Report)) << "round " << round;
        EXPECT_EQ(streets, DistinctStreets(rows)) << "round " << round;
    }
}

// Tables the integer sort takes in different ways: wide ranges of numbers
// that no longer fit its packed address, houses that compare alike ("5" and
// "05"), thousands of rows over many streets sorted bucket by bucket, one
// address with many keys, and a table already in order.
TEST(RecordOrder, MatchesThePlainFivePassesOnLargeAndAwkwardTables) {
    struct Case {
        const char* name;
        int rows;
        int streets;
        bool extremeNumbers;
        bool alikeHouses;
        bool oneAddress;
        bool sortedFirst;
        int numberBits;  // corpus and entrance drawn below 2 to this power
    } cases[] = {
        {"many streets", 5000, 700, false, false, false, false, 0},
        {"extreme numbers", 800, 40, true, false, false, false, 0},
        {"alike houses", 800, 5, false, true, false, false, 0},
        {"one address", 700, 1, false, false, true, false, 0},
        {"already in order", 3000, 300, false, false, false, true, 0},
        // Address and position just fit one 64-bit word, and just do not.
        {"address and position in 64 bits", 800, 60, false, false, false, false, 21},
        {"address and position past 64 bits", 800, 60, false, false, false, false, 22},
    };
    std::mt19937 random(17);
    for (const auto& c : cases) {
        std::vector<BaseRecord> rows;
        for (int i = 0; i < c.rows; ++i) {
            BaseRecord r;
            r.Street = "Street " + std::to_string(random() % static_cast<unsigned>(c.streets));
            r.House = c.oneAddress ? "1" : std::to_string(random() % 40);
            if (c.alikeHouses && random() % 2) r.House = "0" + r.House;
            if (!c.oneAddress) {
                r.Corpus = static_cast<int32_t>(random() % 3);
                r.Entrance = static_cast<int32_t>(random() % 5);
            }
            if (c.numberBits) {
                const uint32_t limit = uint32_t{1} << c.numberBits;
                // The extremes of the range make its width exact.
                r.Corpus = static_cast<int32_t>(i < 2 ? (limit - 1) * static_cast<uint32_t>(i) : random() % limit);
                r.Entrance = static_cast<int32_t>(i < 2 ? (limit - 1) * static_cast<uint32_t>(i) : random() % limit);
                if (random() % 4 == 0 && i > 0) {  // some rows share an address
                    r.Corpus = rows.back().Corpus;
                    r.Entrance = rows.back().Entrance;
                    r.Street = rows.back().Street;
                    r.House = rows.back().House;
                }
            }
            if (c.extremeNumbers) {
                r.Corpus = random() % 2 ? INT32_MIN : INT32_MAX;
                r.Entrance = random() % 2 ? INT32_MIN + 1 : INT32_MAX - static_cast<int32_t>(random() % 3);
            }
            r.KeyHex = RandomText(random, "0123456789ABCDEF", 16);
            r.Report = std::to_string(i);
            rows.push_back(r);
        }
        if (c.sortedFirst) ReferenceOrder(rows);
        std::vector<BaseRecord> expected = rows;
        ReferenceOrder(expected);
        std::vector<std::string> streets;
        AddressRuns runs;
        SortProgramOrder(rows, &streets, &runs);
        ASSERT_EQ(Column(rows, &BaseRecord::Report), Column(expected, &BaseRecord::Report)) << c.name;
        EXPECT_EQ(streets, DistinctStreets(rows)) << c.name;
        // Known runs are exactly the stretches of one address.
        EXPECT_EQ(runs.known, !c.alikeHouses && !c.extremeNumbers) << c.name;
        if (runs.known) {
            std::vector<uint32_t> starts;
            for (std::size_t i = 0; i < rows.size(); ++i)
                if (i == 0 || !SameAddress(rows[i], rows[i - 1])) starts.push_back(static_cast<uint32_t>(i));
            EXPECT_EQ(runs.starts, starts) << c.name;
        }
    }
}

TEST(RecordOrder, MergeSortKeepsEveryItemUnderAnInconsistentComparison) {
    std::vector<int> items(1000);
    for (int i = 0; i < 1000; ++i) items[static_cast<std::size_t>(i)] = (i * 7919) % 1000;
    StableMergeSort(items, [](int a, int b) { return (a * 31 + b * 17) % 5 < 2; });
    std::sort(items.begin(), items.end());
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(items[static_cast<std::size_t>(i)], i);
}

}  // namespace
