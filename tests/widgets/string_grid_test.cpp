#include "string_grid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <string>
#include <vector>

#include "Cp1251.h"
#include "shift_state.h"

using namespace cp1251_literals;

namespace {

// Lines 20 high and columns 50 wide, 21 and 51 with their lines; the view
// holds the header and ten body lines.
constexpr int kRowExtent = 21;
constexpr int kColExtent = 51;

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setFrameShape(QFrame::NoFrame);
        grid.SetDefaultRowHeight(20);
        grid.SetDefaultColWidth(50);
        grid.SetColCount(3);
        grid.SetRowCount(101);
        grid.SetFixedCols(0);
        grid.SetFixedRows(1);
        grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.resize(3 * kColExtent + 20, 11 * kRowExtent);
        for (int r = 0; r < grid.RowCount(); ++r)
            for (int c = 0; c < grid.ColCount(); ++c) grid.SetCell(c, r, std::to_string(c) + ":" + std::to_string(r));
        grid.show();
        grid.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
        grid.OnSelectCell = [this](int col, int row, bool& canSelect) {
            log.push_back("select " + std::to_string(col) + "," + std::to_string(row) + " from " +
                          std::to_string(grid.Row()));
            canSelect = allowSelect;
        };
        grid.OnMouseDown = [this](Qt::MouseButton button, unsigned shift, int, int) {
            log.push_back(std::string(button == Qt::LeftButton ? "down left" : "down other") +
                          (shift & kSsDouble ? " double" : "") + " at " + std::to_string(grid.Row()));
        };
        grid.OnDblClick = [this] { log.push_back("dblclick at " + std::to_string(grid.Row())); };
    }

    // As the address grid: whole rows, no block selection.
    void UseWholeRows() { grid.SetOptions((kGridDefaultOptions | kGridRowSelect) & ~kGridRangeSelect); }

    QPoint At(int col, int row) const { return grid.CellRect(col, row).center(); }
    void Click(int col, int row, Qt::KeyboardModifiers mods = {}, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(grid.viewport(), button, mods, At(col, row));
    }

    StringGrid grid;
    std::vector<std::string> log;
    bool allowSelect = true;
};

TEST_F(GridTest, LeftPressMovesTheCurrentLineBeforeTheHandlerSeesIt) {
    UseWholeRows();
    Click(1, 3);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "select 1,3 from 1");
    EXPECT_EQ(log[1], "down left at 3");
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 0) << "a whole-row grid keeps its column at the first body column";
}

TEST_F(GridTest, RefusedSelectionKeepsTheCellAndStillReportsThePress) {
    allowSelect = false;
    Click(2, 4);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 0);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1], "down left at 1");
}

TEST_F(GridTest, RightPressAndPressesOnFixedCellsMoveNothing) {
    Click(1, 5, {}, Qt::RightButton);
    Click(1, 0);  // the header line is fixed
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"down other at 1", "down left at 1"}));
}

TEST_F(GridTest, DoubleClickRunsItsHandlerBeforeTheDoublePress) {
    Click(0, 2);
    log.clear();
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, At(0, 2));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, At(0, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"dblclick at 2", "down left double at 2"}));
}

TEST_F(GridTest, KeyDownComesFirstAndMayKeepTheGridFromMoving) {
    UseWholeRows();
    std::vector<std::string> keys;
    bool swallow = false;
    grid.OnKeyDown = [&](int& key, unsigned) {
        keys.push_back("down at " + std::to_string(grid.Row()));
        if (swallow) key = 0;
    };
    grid.OnKeyPress = [&](char& key) { keys.push_back("press " + std::to_string(static_cast<int>(key))); };
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 2);
    swallow = true;
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 2);
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_EQ(keys, (std::vector<std::string>{"down at 1", "down at 2", "down at 2", "press 13", "down at 2",
                                              "press 32"}));
}

TEST_F(GridTest, NavigationKeysOfAWholeRowGrid) {
    UseWholeRows();
    ASSERT_EQ(grid.VisibleRowCount(), 10);
    const int last = grid.RowCount() - 1;
    struct Case {
        int from;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int to;
    };
    const Case cases[] = {
        {1, Qt::Key_Up, {}, 1},                    {5, Qt::Key_Up, {}, 4},
        {last, Qt::Key_Down, {}, last},            {5, Qt::Key_PageDown, {}, 14},
        {last - 3, Qt::Key_PageDown, {}, last},    {14, Qt::Key_PageUp, {}, 5},
        {4, Qt::Key_PageUp, {}, 1},                {50, Qt::Key_Home, {}, 1},
        {50, Qt::Key_End, {}, last},               {50, Qt::Key_Home, Qt::ControlModifier, 1},
        {50, Qt::Key_End, Qt::ControlModifier, last},
    };
    for (const Case& c : cases) {
        grid.SetRow(c.from);
        QTest::keyClick(&grid, c.key, c.mods);
        EXPECT_EQ(grid.Row(), c.to) << "from " << c.from << " key " << c.key;
        EXPECT_GE(grid.Row(), grid.TopRow());
        EXPECT_LT(grid.Row(), grid.TopRow() + grid.VisibleRowCount()) << "the current line is in view";
    }
}

TEST_F(GridTest, WheelMovesTheCurrentLineUnlessTheHandlerTookIt) {
    bool handled = false;
    int downs = 0;
    grid.OnMouseWheelDown = [&](unsigned, const QPoint&, bool& h) {
        ++downs;
        h = handled;
    };
    auto wheel = [&](int delta) {
        QWheelEvent event(At(1, 3), grid.viewport()->mapToGlobal(At(1, 3)), {}, {0, delta}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &event);
    };
    wheel(-240);  // two notches down
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(grid.Row(), 3);
    handled = true;
    wheel(-120);
    EXPECT_EQ(grid.Row(), 3);
    wheel(120);
    EXPECT_EQ(grid.Row(), 2);
    grid.SetRow(1);
    wheel(120);
    EXPECT_EQ(grid.Row(), 1) << "the header line is fixed";
}

TEST_F(GridTest, ChangingTheFixedCountsStartsAtTheFirstBodyCellWithoutSelectCell) {
    grid.SetRow(40);
    log.clear();
    grid.SetFixedRows(0);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.TopRow(), 0);
    grid.SetFixedRows(1);
    EXPECT_EQ(grid.Row(), 1);
    grid.SetRow(7);
    grid.SetFixedRows(1);  // the same count changes nothing
    EXPECT_EQ(grid.Row(), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"select 0,7 from 1"}));
}

TEST_F(GridTest, ShrinkingClampsTheCurrentAndTopLines) {
    grid.SetRow(90);
    EXPECT_GT(grid.TopRow(), 1);
    grid.SetRowCount(5);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.TopRow(), 1) << "all lines fit, so nothing is scrolled";
    grid.SetRowCount(0);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.FixedRows(), 0) << "fixed lines stay below the count";
    grid.SetRowCount(3);
    EXPECT_EQ(grid.Cell(1, 2), "") << "lines that come back start empty";
}

TEST_F(GridTest, TopRowIsClampedAndTheScrollBarFollows) {
    grid.SetTopRow(1000);
    EXPECT_EQ(grid.TopRow(), grid.RowCount() - 10);
    EXPECT_EQ(grid.verticalScrollBar()->value(), grid.TopRow() - 1);
    grid.verticalScrollBar()->setValue(20);
    EXPECT_EQ(grid.TopRow(), 21);
    grid.SetTopRow(0);
    EXPECT_EQ(grid.TopRow(), 1) << "fixed lines never scroll";
}

TEST_F(GridTest, RangeSelectionByShiftClickAndShiftArrows) {
    Click(0, 2);
    Click(2, 4, Qt::ShiftModifier);
    EXPECT_EQ(grid.Selection(), (GridRect{0, 2, 2, 4}));
    EXPECT_EQ(grid.Row(), 2) << "shift-click moves the far end, not the current cell";
    Click(1, 3);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.Selection(), (GridRect{1, 3, 2, 4}));
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(grid.Selection(), (GridRect{2, 3, 2, 3}));
}

TEST_F(GridTest, WholeRowSelectionSpansTheBodyColumns) {
    grid.SetFixedCols(1);
    UseWholeRows();
    Click(2, 6);
    EXPECT_EQ(grid.Selection(), (GridRect{1, 6, 2, 6}));
    grid.SetSelection({2, 8, 2, 8});
    EXPECT_EQ(grid.Selection(), (GridRect{1, 8, 2, 8}));
}

TEST_F(GridTest, DraggingMovesTheLineOfAWholeRowGridAndTheFarEndOfARange) {
    UseWholeRows();
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, At(1, 2));
    QTest::mouseMove(grid.viewport(), At(1, 5));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, At(1, 5));
    EXPECT_EQ(grid.Row(), 5);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[1], "down left at 2");
    EXPECT_EQ(log.back(), "select 1,5 from 2");

    grid.SetOptions(kGridDefaultOptions);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, At(0, 2));
    QTest::mouseMove(grid.viewport(), At(2, 6));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, At(2, 6));
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Selection(), (GridRect{0, 2, 2, 6}));
}

TEST_F(GridTest, ColumnLinesInTheHeaderCanBeDragged) {
    grid.SetOptions(grid.Options() | kGridColSizing);
    const QPoint line(50, 10);  // right line of column 0 in the header
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, line);
    QTest::mouseMove(grid.viewport(), line + QPoint(30, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, line + QPoint(30, 0));
    EXPECT_EQ(grid.ColWidth(0), 80);
    EXPECT_TRUE(log.empty()) << "sizing is not a press on a cell";

    grid.SetOptions(kGridDefaultOptions);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(grid.viewport(), QPoint(120, 10));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, QPoint(120, 10));
    EXPECT_EQ(grid.ColWidth(0), 80) << "without the option the lines stay";
}

TEST_F(GridTest, MouseCoordAndHiddenColumns) {
    EXPECT_EQ(grid.MouseCoord(0, 0), (GridCoord{0, 0}));
    EXPECT_EQ(grid.MouseCoord(kColExtent, kRowExtent), (GridCoord{1, 1}));
    EXPECT_EQ(grid.MouseCoord(3 * kColExtent + 5, 5), (GridCoord{-1, 0}));
    grid.SetColWidth(1, -1);
    EXPECT_EQ(grid.MouseCoord(kColExtent + 1, kRowExtent), (GridCoord{2, 1}));
    EXPECT_TRUE(grid.CellRect(1, 1).isEmpty());
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 2) << "the arrow steps over the hidden column";
}

TEST_F(GridTest, HintIsShownOnRequestAndOnHover) {
    grid.SetHint("Запасной, у консьержа"_cp);
    grid.ActivateHint();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Запасной, у консьержа"));
    grid.CancelHint();
    for (int i = 0; i < 50 && QToolTip::isVisible(); ++i) QTest::qWait(20);
    EXPECT_FALSE(QToolTip::isVisible());

    QHelpEvent hover(QEvent::ToolTip, At(1, 2), grid.viewport()->mapToGlobal(At(1, 2)));
    QApplication::sendEvent(grid.viewport(), &hover);
    EXPECT_FALSE(QToolTip::isVisible()) << "hover hints are off by default";
    grid.SetShowHint(true);
    QApplication::sendEvent(grid.viewport(), &hover);
    EXPECT_TRUE(QToolTip::isVisible());
    grid.CancelHint();
}

TEST(StringGridPaint, OnlyTheCellsInViewArePainted) {
    StringGrid grid;
    grid.SetColCount(5);
    grid.SetRowCount(100001);
    grid.SetDefaultRowHeight(20);
    grid.resize(400, 300);
    std::vector<GridCoord> drawn;
    grid.OnDrawCell = [&](int col, int row, QPainter&, const QRect& rect, unsigned state) {
        drawn.push_back({col, row});
        EXPECT_EQ(rect, grid.CellRect(col, row));
        EXPECT_EQ((state & kGdFixed) != 0, col < 1 || row < 1);
    };
    grid.SetTopRow(50000);
    (void)grid.grab();
    ASSERT_FALSE(drawn.empty());
    EXPECT_LE(drawn.size(), 5u * 16u);
    for (const GridCoord& cell : drawn) EXPECT_TRUE(cell.row == 0 || (cell.row >= 50000 && cell.row < 50016));
}

}  // namespace
