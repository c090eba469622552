#include "grid_helpers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <string>
#include <vector>

#include "Cp1251.h"
#include "clipboard.h"
#include "temp_dir.h"

using namespace cp1251_literals;

namespace {

void Fill(StringGrid& grid, const std::vector<std::vector<std::string>>& rows) {
    grid.SetColCount(static_cast<int>(rows[0].size()));
    grid.SetRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) grid.SetRowTexts(static_cast<int>(r), rows[r]);
}

// As the address list: whole rows, header line fixed, no fixed column.
class AddressGrid : public ::testing::Test {
protected:
    void SetUp() override {
        grid.SetOptions((kGridDefaultOptions | kGridRowSelect) & ~kGridRangeSelect);
        Fill(grid, {{"", "Улица"_cp, "Дом"_cp, "Корпус"_cp, "Подъезд"_cp},
                    {"0", "Ленина"_cp, "12", "-", "1"},
                    {"1", "Мира"_cp, "5", "-", "2"},
                    {"0", "Садовая"_cp, "7", "2", "3"},
                    {"0", "Мирная"_cp, "9", "-", "1"},
                    {"0", "Лесная"_cp, "3", "-", "4"}});
        GridSetFixed(grid, 0, 1);
        grid.OnSelectCell = [this](int col, int row, bool&) { selected.push_back({col, row}); };
    }

    StringGrid grid;
    std::vector<GridCoord> selected;
};

TEST_F(AddressGrid, FindNextGoesOnFromTheCurrentLineAndWrapsOnce) {
    struct Case {
        int from;
        const char* text;
        std::vector<int> skipped;
        int row;
        bool found;
    };
    const Case cases[] = {
        {1, "мир", {}, 2, true},
        {2, "мир", {}, 4, true},
        {4, "МИР", {}, 2, true},             // past the end, round from the top
        {3, "садов", {}, 3, true},           // the only match is in the current line: found again
        {1, "1", {}, 2, true},               // the current line's own "1" does not count
        {1, "1", {0, 4}, 1, true},           // only "12" of line 1 is left, after going round
        {3, "нет такой", {}, 1, false},      // nothing: line 1
        {3, "", {}, 1, false},               // an empty text matches nothing
    };
    for (const Case& c : cases) {
        grid.SetRow(c.from);
        selected.clear();
        EXPECT_EQ(GridFindNext(grid, cp1251::FromUtf8(c.text), c.skipped), c.found) << c.from << " " << c.text;
        EXPECT_EQ(grid.Row(), c.row) << c.from << " " << c.text;
        EXPECT_EQ(grid.FixedRows(), 1);
        EXPECT_EQ(grid.FixedCols(), 0);
        // The select handler saw the line, so what depends on it follows.
        ASSERT_FALSE(selected.empty());
        EXPECT_EQ(selected.back(), (GridCoord{1, c.row}));
    }
}

TEST_F(AddressGrid, FindNextFromTheTopKeepsTheGridsOwnFixedCounts) {
    GridSetFixed(grid, 0, 0);
    ASSERT_EQ(grid.Row(), 0);
    EXPECT_TRUE(GridFindNext(grid, "мир"_cp, {}));
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.FixedRows(), 0);
    grid.FocusCell(0, 0);
    EXPECT_FALSE(GridFindNext(grid, "нет"_cp, {}));
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.FixedRows(), 0);
}

TEST(GridFindNext, CellGridsMatchOtherCellsOfTheCurrentLine) {
    StringGrid grid;
    grid.SetOptions(kGridDefaultOptions);
    Fill(grid, {{"", "Ключ"_cp, "Комментарий"_cp},
                {"1", "14 FF FF FF FF FF FF FF", "основной"_cp},
                {"0", "A1 00 00 0B 6D 2F 11 01", "запасной"_cp},
                {"0", "14 00 00 0A 44 19 52 01", "ещё основной"_cp}});
    GridSetFixed(grid, 0, 1);
    struct Case {
        GridCoord from;
        const char* text;
        GridCoord to;
    };
    const Case cases[] = {
        {{1, 1}, "основн", {2, 1}}, {{2, 1}, "основн", {2, 3}}, {{2, 3}, "ОСНОВН", {2, 1}},
        {{1, 1}, "14", {1, 3}},     {{1, 2}, "a1", {1, 2}},
    };
    for (const Case& c : cases) {
        GridSelectCell(grid, c.from.col, c.from.row);
        EXPECT_TRUE(GridFindNext(grid, cp1251::FromUtf8(c.text), {})) << c.text;
        EXPECT_EQ((GridCoord{grid.Col(), grid.Row()}), c.to) << c.text;
        EXPECT_EQ(grid.Selection(), (GridRect{c.to.col, c.to.row, c.to.col, c.to.row}));
    }
}

TEST(GridDataRow, MapsLinesToListIndexes) {
    StringGrid grid;
    grid.SetRowCount(1);
    EXPECT_EQ(GridDataRow(grid, 0), -1);
    EXPECT_EQ(GridDataRow(grid, -1), -1);
    grid.SetRowCount(5);
    GridSetFixed(grid, 0, 1);
    grid.SetRow(4);
    EXPECT_EQ(GridDataRow(grid, 0), -1) << "the header";
    EXPECT_EQ(GridDataRow(grid, 3), 2);
    EXPECT_EQ(GridDataRow(grid, -1), 3) << "-1 is the current line";
}

class GridCopy : public ::testing::Test {
protected:
    void SetUp() override {
        grid.SetOptions(kGridDefaultOptions);
        Fill(grid, {{"№"_cp, "Улица"_cp, "скрыто"_cp, "Дом"_cp},
                    {"1", "Ёлочная"_cp, "x", "5"},
                    {"2", "Мира"_cp, "y", ""}});
        GridSetFixed(grid, 0, 1);
        grid.SetColWidth(2, -1);
    }
    StringGrid grid;
};

TEST_F(GridCopy, AllAndSelectionLeaveOutHiddenColumns) {
    GridCopyAll(grid, kCfUnicodeText);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(u"№\tУлица\tДом\t\n1\tЁлочная\t5\t\n2\tМира\t\t\n"));
    EXPECT_EQ(ClipboardGetText(), "№\tУлица\tДом\t\n1\tЁлочная\t5\t\n2\tМира\t\t\n"_cp);

    grid.SetSelection({1, 1, 3, 2});
    GridCopySelection(grid, kCfText);
    EXPECT_EQ(ClipboardGetText(), "Ёлочная\t5\t\nМира\t\t\n"_cp);
}

TEST_F(GridCopy, SaveWritesEveryCellWithCrLf) {
    TempDir dir;
    const std::string path = dir.File("grid.txt");
    WriteFileBytes(path, std::string(500, 'z'));
    ASSERT_TRUE(GridSaveText(grid, path));
    EXPECT_EQ(ReadFileBytes(path),
              "№\tУлица\tскрыто\tДом\t\r\n1\tЁлочная\tx\t5\t\r\n2\tМира\ty\t\t\r\n"_cp);

    EXPECT_FALSE(GridSaveText(grid, dir.File("no/such/folder/grid.txt")));
}

}  // namespace
