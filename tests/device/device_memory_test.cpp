// The memory image: which cells a write, a clear and a read touch, the report
// bytes, and the key check of keys read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cp1251.h"
#include "device_fixtures.h"
#include "device_memory.h"
#include "key_text.h"

using namespace cp1251_literals;

namespace {

TEST(DeviceMemory, CellListIsABlankCellTheEntriesAndAClosingBlankUnlessFull) {
    const struct {
        int entries;
        std::size_t cells;
        bool closingBlank;
    } cases[] = {{0, 2, true}, {1, 3, true}, {98, 100, true}, {99, 100, false}, {120, 100, false}};
    for (const auto& c : cases) {
        const auto entries = SoundKeys(c.entries);
        const auto cells = WriteCellList(entries);
        ASSERT_EQ(cells.size(), c.cells) << c.entries;
        EXPECT_EQ(cells.front().KeyHex, kBlankKey) << c.entries;
        for (std::size_t i = 1; i < cells.size() - (c.closingBlank ? 1 : 0); ++i)
            EXPECT_EQ(cells[i].KeyHex, entries[i - 1].KeyHex) << c.entries << " cell " << i;
        if (c.closingBlank) {
            EXPECT_EQ(cells.back().KeyHex, kBlankKey) << c.entries;
        }
    }
    const BaseRecord blank = BlankEntry();
    EXPECT_TRUE(blank.Street.empty() && blank.House.empty() && blank.Report.empty());
    EXPECT_EQ(blank.Number + blank.Corpus + blank.Entrance, 0);
    EXPECT_FALSE(blank.Marked || blank.KeyDef || blank.Selected);

    const auto clear = ClearCellList();
    ASSERT_EQ(clear.size(), 100u);
    for (const auto& cell : clear) EXPECT_EQ(cell.KeyHex, kBlankKey);
    EXPECT_EQ(ClearReportBytes(), std::vector<int>(224, 0));
}

TEST(DeviceMemory, ReportBytesEndWithAZeroAndNeverExceedTheArea) {
    const struct {
        std::string text;
        std::size_t size;
        bool zero;
    } cases[] = {{"", 1, true},
                 {"a", 2, true},
                 {std::string(223, 'b'), 224, true},
                 {std::string(224, 'c'), 224, false},
                 {std::string(224, 'd') + "overflow", 224, false}};
    for (const auto& c : cases) {
        const auto bytes = ReportBytes(c.text);
        ASSERT_EQ(bytes.size(), c.size) << c.text.size();
        const std::size_t chars = c.zero ? c.size - 1 : c.size;
        for (std::size_t i = 0; i < chars; ++i) EXPECT_EQ(bytes[i], static_cast<unsigned char>(c.text[i]));
        if (c.zero) {
            EXPECT_EQ(bytes.back(), 0);
        }
    }
    // One CP1251 byte per character, taken as unsigned.
    EXPECT_EQ(ReportBytes("Я\nя"_cp), (std::vector<int>{0xDF, 0x0A, 0xFF, 0}));
}

TEST(DeviceMemory, ReadKeysStopAtTheFirstBlankCellAndIgnoreCellZero) {
    const auto keys = SoundKeys(99);
    std::vector<BaseRecord> cells{SoundKey(500)};  // cell 0 is never a key
    cells.insert(cells.end(), keys.begin(), keys.end());
    EXPECT_EQ(KeysFromCells(cells).size(), 99u) << "no blank: all 99";

    cells[4] = BlankEntry();  // keys behind it are left from an earlier, longer write
    const auto taken = KeysFromCells(cells);
    ASSERT_EQ(taken.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(taken[i].KeyHex, keys[i].KeyHex);

    EXPECT_TRUE(KeysFromCells(ClearCellList()).empty());
    EXPECT_TRUE(KeysFromCells({}).empty());
}

TEST(DeviceMemory, KeyCheckFindsTheFirstFaultyCheckByte) {
    auto keys = SoundKeys(5);
    EXPECT_EQ(FirstFaultyKey(keys), -1);
    EXPECT_EQ(FirstFaultyKey({KeyEntry("0000000000000000")}), -1) << "the CRC of zeros is 0";
    EXPECT_EQ(FirstFaultyKey({KeyEntry(std::string(kBlankKey))}), 0) << "seven 0xFF give 0x14, not 0xFF";
    keys[2].KeyHex[1] = keys[2].KeyHex[1] == '0' ? '1' : '0';
    keys[4].KeyHex[0] = keys[4].KeyHex[0] == '0' ? '1' : '0';
    EXPECT_EQ(FirstFaultyKey(keys), 2);

    EXPECT_EQ(cp1251::ToUtf8(KeyCrcFaultText(3, "1500000000000001")),
              "Возможна ошибка при чтении памяти прибора!\nОшибка CRC в ключе №: 3  [15 00 00 00 00 00 00 01]");
}

TEST(DeviceMemory, VerificationComparesEveryCellAsText) {
    const auto cells = WriteCellList(SoundKeys(3));
    auto readBack = cells;
    for (auto& cell : readBack) cell.Street = "ignored";
    EXPECT_TRUE(SameKeys(cells, readBack));
    readBack[2].KeyHex[15] = readBack[2].KeyHex[15] == 'F' ? 'E' : 'F';
    EXPECT_FALSE(SameKeys(cells, readBack));
    readBack = cells;
    readBack.pop_back();
    EXPECT_FALSE(SameKeys(cells, readBack)) << "a cell missing";
    auto lower = cells;
    lower[1].KeyHex = "00a0b0c0d0e00001";
    EXPECT_FALSE(SameKeys(lower, cells)) << "compared exactly";
}

}  // namespace
