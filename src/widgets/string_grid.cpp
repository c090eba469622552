#include "string_grid.h"

#include <QApplication>
#include <QCursor>
#include <QPalette>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <climits>

#include "qt_text.h"
#include "shift_state.h"

unsigned ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    unsigned shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= kSsShift;
    if (modifiers & Qt::AltModifier) shift |= kSsAlt;
    if (modifiers & Qt::ControlModifier) shift |= kSsCtrl;
    if (buttons & Qt::LeftButton) shift |= kSsLeft;
    if (buttons & Qt::RightButton) shift |= kSsRight;
    if (buttons & Qt::MiddleButton) shift |= kSsMiddle;
    return shift;
}

namespace {

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

}  // namespace

StringGrid::StringGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    cells_.resize(static_cast<std::size_t>(colCount_) * static_cast<std::size_t>(rowCount_));
    colWidths_.assign(static_cast<std::size_t>(colCount_), defaultColWidth_);
    color_ = palette().color(QPalette::Base);
    fixedColor_ = palette().color(QPalette::Button);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    autoScroll_.setInterval(60);
    connect(&autoScroll_, &QTimer::timeout, this, &StringGrid::AutoScrollStep);
    verticalScrollBar()->setTracking(false);
    horizontalScrollBar()->setTracking(false);
    Initialize();
}

StringGrid::~StringGrid() = default;

void StringGrid::SetColCount(int count) {
    count = std::max(1, count);
    if (count == colCount_) return;
    std::vector<std::string> cells(static_cast<std::size_t>(count) * static_cast<std::size_t>(rowCount_));
    const int keep = std::min(count, colCount_);
    for (int r = 0; r < rowCount_; ++r)
        for (int c = 0; c < keep; ++c)
            cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(count) + static_cast<std::size_t>(c)] =
                std::move(cells_[Index(c, r)]);
    cells_ = std::move(cells);
    colCount_ = count;
    colWidths_.resize(static_cast<std::size_t>(count), defaultColWidth_);
    if (fixedCols_ >= count) fixedCols_ = count - 1;
    ClampPositions();
}

void StringGrid::SetRowCount(int count) {
    count = std::max(1, count);
    if (count == rowCount_) return;
    cells_.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(colCount_));
    if (count < rowCount_) {
        // Lines that come back later start empty.
        cells_.shrink_to_fit();
        std::erase_if(rowHeights_, [count](const auto& entry) { return entry.first >= count; });
    }
    rowCount_ = count;
    if (fixedRows_ >= count) fixedRows_ = count - 1;
    ClampPositions();
}

void StringGrid::SetFixedCols(int count) {
    count = std::clamp(count, 0, colCount_ - 1);
    if (count == fixedCols_) return;
    fixedCols_ = count;
    Initialize();
}

void StringGrid::SetFixedRows(int count) {
    count = std::clamp(count, 0, rowCount_ - 1);
    if (count == fixedRows_) return;
    fixedRows_ = count;
    Initialize();
}

const std::string& StringGrid::Cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return EmptyText();
    return cells_[Index(col, row)];
}

void StringGrid::SetCell(int col, int row, std::string text) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return;
    cells_[Index(col, row)] = std::move(text);
    InvalidateCell(col, row);
}

void StringGrid::SetRowTexts(int row, std::vector<std::string> texts) {
    if (row < 0 || row >= rowCount_) return;
    const int n = std::min(colCount_, static_cast<int>(texts.size()));
    for (int c = 0; c < n; ++c) cells_[Index(c, row)] = std::move(texts[static_cast<std::size_t>(c)]);
    InvalidateRow(row);
}

void StringGrid::ClearCells() {
    for (auto& cell : cells_) cell.clear();
    InvalidateGrid();
}

void StringGrid::SetCol(int col) {
    if (col != current_.col) FocusCell(col, current_.row);
}

void StringGrid::SetRow(int row) {
    if (row != current_.row) FocusCell(current_.col, row);
}

void StringGrid::FocusCell(int col, int row) {
    MoveCurrent(std::clamp(col, 0, colCount_ - 1), std::clamp(row, 0, rowCount_ - 1), true, true);
}

void StringGrid::SetTopRow(int row) {
    if (row != topLeft_.row) MoveTopLeft(topLeft_.col, row);
}

void StringGrid::SetLeftCol(int col) {
    if (col != topLeft_.col) MoveTopLeft(col, topLeft_.row);
}

int StringGrid::VisibleRowCount() const {
    const int height = viewport()->height();
    int count = 0;
    for (int r = topLeft_.row, y = FixedHeight(); r < rowCount_; ++r) {
        if (y + RowHeight(r) > height) break;
        y += RowExtent(r);
        ++count;
    }
    return count;
}

int StringGrid::VisibleColCount() const {
    const int width = viewport()->width();
    int count = 0;
    for (int c = topLeft_.col, x = FixedWidth(); c < colCount_; ++c) {
        if (ColWidth(c) < 0) continue;
        if (x + ColWidth(c) > width) break;
        x += ColExtent(c);
        ++count;
    }
    return count;
}

GridRect StringGrid::Selection() const {
    return {std::min(current_.col, anchor_.col), std::min(current_.row, anchor_.row),
            std::max(current_.col, anchor_.col), std::max(current_.row, anchor_.row)};
}

void StringGrid::SetSelection(const GridRect& rect) {
    anchor_ = {std::clamp(rect.left, 0, colCount_ - 1), std::clamp(rect.top, 0, rowCount_ - 1)};
    current_ = {std::clamp(rect.right, 0, colCount_ - 1), std::clamp(rect.bottom, 0, rowCount_ - 1)};
    if (options_ & kGridRowSelect) {
        anchor_.col = colCount_ - 1;
        current_.col = fixedCols_;
    }
    InvalidateGrid();
}

void StringGrid::SetOptions(unsigned options) {
    options_ = options;
    const bool tracking = (options & kGridThumbTracking) != 0;
    verticalScrollBar()->setTracking(tracking);
    horizontalScrollBar()->setTracking(tracking);
    ClampPositions();
}

void StringGrid::SetDefaultRowHeight(int height) {
    // As the toolkit does: every line takes the new default.
    rowHeights_.clear();
    defaultRowHeight_ = std::max(0, height);
    ClampPositions();
}

int StringGrid::RowHeight(int row) const {
    const auto it = std::lower_bound(rowHeights_.begin(), rowHeights_.end(), std::make_pair(row, INT_MIN));
    return it != rowHeights_.end() && it->first == row ? it->second : defaultRowHeight_;
}

void StringGrid::SetRowHeight(int row, int height) {
    if (row < 0 || row >= rowCount_) return;
    height = std::max(0, height);
    const auto it = std::lower_bound(rowHeights_.begin(), rowHeights_.end(), std::make_pair(row, INT_MIN));
    const bool present = it != rowHeights_.end() && it->first == row;
    if (height == defaultRowHeight_) {
        if (present) rowHeights_.erase(it);
    } else if (present) {
        it->second = height;
    } else {
        rowHeights_.insert(it, {row, height});
    }
    ClampPositions();
}

void StringGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = width;
    colWidths_.assign(static_cast<std::size_t>(colCount_), width);
    ClampPositions();
}

int StringGrid::ColWidth(int col) const {
    if (col < 0 || col >= colCount_) return defaultColWidth_;
    return colWidths_[static_cast<std::size_t>(col)];
}

void StringGrid::SetColWidth(int col, int width) {
    if (col < 0 || col >= colCount_) return;
    colWidths_[static_cast<std::size_t>(col)] = width;
    ClampPositions();
}

void StringGrid::SetColor(const QColor& color) {
    color_ = color;
    InvalidateGrid();
}

void StringGrid::SetFixedColor(const QColor& color) {
    fixedColor_ = color;
    InvalidateGrid();
}

int StringGrid::ColExtent(int col) const {
    const int width = ColWidth(col);
    return width < 0 ? 0 : width + LineWidth();
}

int StringGrid::FixedWidth() const {
    int width = 0;
    for (int c = 0; c < fixedCols_; ++c) width += ColExtent(c);
    return width;
}

int StringGrid::FixedHeight() const {
    int height = 0;
    for (int r = 0; r < fixedRows_; ++r) height += RowExtent(r);
    return height;
}

int StringGrid::ColLeft(int col) const {
    if (col < 0 || col >= colCount_) return -1;
    int x = 0;
    if (col < fixedCols_) {
        for (int c = 0; c < col; ++c) x += ColExtent(c);
        return x;
    }
    if (col < topLeft_.col) return -1;
    x = FixedWidth();
    for (int c = topLeft_.col; c < col; ++c) x += ColExtent(c);
    return x;
}

int StringGrid::RowTop(int row) const {
    if (row < 0 || row >= rowCount_) return -1;
    if (row < fixedRows_) {
        int y = 0;
        for (int r = 0; r < row; ++r) y += RowExtent(r);
        return y;
    }
    if (row < topLeft_.row) return -1;
    // Lines share one height but for a few, so the sum is a product and a correction.
    long long y = FixedHeight() + static_cast<long long>(row - topLeft_.row) * (defaultRowHeight_ + LineWidth());
    auto it = std::lower_bound(rowHeights_.begin(), rowHeights_.end(), std::make_pair(topLeft_.row, INT_MIN));
    for (; it != rowHeights_.end() && it->first < row; ++it) y += it->second - defaultRowHeight_;
    return static_cast<int>(std::min<long long>(y, INT_MAX));
}

// The first index from which all the rest fit wholly into `room` pixels
// (the last line of the last one may be cut); never a fixed one.
template <class Extent>
static int FirstOfTheFittingEnd(int count, int fixed, int room, int lineWidth, Extent extent) {
    int first = count;
    int used = 0;
    while (first - 1 >= fixed && used + extent(first - 1) - lineWidth <= room) used += extent(--first);
    return std::max(fixed, std::min(first, count - 1));
}

int StringGrid::MaxTopRow() const {
    return FirstOfTheFittingEnd(rowCount_, fixedRows_, viewport()->height() - FixedHeight(), LineWidth(),
                                [this](int r) { return RowExtent(r); });
}

int StringGrid::MaxLeftCol() const {
    return FirstOfTheFittingEnd(colCount_, fixedCols_, viewport()->width() - FixedWidth(), LineWidth(),
                                [this](int c) { return ColExtent(c); });
}

int StringGrid::LastVisibleRow() const {
    const int height = viewport()->height();
    int last = topLeft_.row - 1;
    for (int r = topLeft_.row, y = FixedHeight(); r < rowCount_ && y < height; ++r, y += RowExtent(r - 1)) last = r;
    return last;
}

int StringGrid::LastVisibleCol() const {
    const int width = viewport()->width();
    int last = topLeft_.col - 1;
    for (int c = topLeft_.col, x = FixedWidth(); c < colCount_ && x < width; ++c, x += ColExtent(c - 1)) last = c;
    return last;
}

GridCoord StringGrid::MouseCoord(int x, int y) const {
    GridCoord cell{-1, -1};
    if (x >= 0) {
        int left = 0;
        for (int c = 0; c < fixedCols_ && cell.col < 0; ++c) {
            if (x < left + ColExtent(c)) cell.col = c;
            left += ColExtent(c);
        }
        for (int c = topLeft_.col; c < colCount_ && cell.col < 0 && x >= left; ++c) {
            if (x < left + ColExtent(c)) cell.col = c;
            left += ColExtent(c);
        }
    }
    if (y >= 0) {
        int top = 0;
        for (int r = 0; r < fixedRows_ && cell.row < 0; ++r) {
            if (y < top + RowExtent(r)) cell.row = r;
            top += RowExtent(r);
        }
        for (int r = topLeft_.row; r < rowCount_ && cell.row < 0 && y >= top; ++r) {
            if (y < top + RowExtent(r)) cell.row = r;
            top += RowExtent(r);
        }
    }
    return cell;
}

QRect StringGrid::CellRect(int col, int row) const {
    const int left = ColLeft(col), top = RowTop(row);
    if (left < 0 || top < 0 || ColWidth(col) < 0) return {};
    if (left >= viewport()->width() || top >= viewport()->height()) return {};
    return {left, top, ColWidth(col), RowHeight(row)};
}

void StringGrid::InvalidateCell(int col, int row) {
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty()) viewport()->update(rect.adjusted(0, 0, LineWidth(), LineWidth()));
}

void StringGrid::InvalidateRow(int row) {
    const int top = RowTop(row);
    if (top >= 0 && top < viewport()->height()) viewport()->update(0, top, viewport()->width(), RowExtent(row));
}

void StringGrid::InvalidateGrid() { viewport()->update(); }

void StringGrid::ActivateHint() {
    if (hint_.empty()) {
        CancelHint();
        return;
    }
    QToolTip::showText(QCursor::pos(), ToQString(hint_), viewport());
}

void StringGrid::CancelHint() { QToolTip::hideText(); }

bool StringGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return false;
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(col, row, canSelect);
    if (!canSelect) return false;
    // The handler may have resized the grid.
    col = std::min(col, colCount_ - 1);
    row = std::min(row, rowCount_ - 1);
    current_ = {col, row};
    if (moveAnchor || !(options_ & kGridRangeSelect)) {
        anchor_ = current_;
        if (options_ & kGridRowSelect) anchor_.col = colCount_ - 1;
    }
    if (options_ & kGridRowSelect) current_.col = fixedCols_;
    if (show) ClampInView(current_);
    InvalidateGrid();
    return true;
}

void StringGrid::MoveAnchor(const GridCoord& to) {
    if (!(options_ & kGridRangeSelect)) {
        MoveCurrent(to.col, to.row, true, true);
        return;
    }
    anchor_ = to;
    if (options_ & kGridRowSelect) anchor_.col = colCount_ - 1;
    ClampInView(to);
    InvalidateGrid();
}

void StringGrid::ClampInView(const GridCoord& cell) {
    int top = topLeft_.row, left = topLeft_.col;
    if (cell.row >= fixedRows_ && cell.row < rowCount_) {
        if (cell.row < top) {
            top = cell.row;
        } else {
            // Scroll down until the line is wholly in view (or first, when taller than the view).
            const int room = viewport()->height() - FixedHeight();
            int used = RowHeight(cell.row);
            int first = cell.row;
            while (first - 1 >= top && used + RowExtent(first - 1) <= room) used += RowExtent(--first);
            if (first > top && RowTop(cell.row) + RowHeight(cell.row) > viewport()->height()) top = first;
        }
    }
    if (cell.col >= fixedCols_ && cell.col < colCount_ && ColWidth(cell.col) >= 0) {
        if (cell.col < left) {
            left = cell.col;
        } else {
            const int room = viewport()->width() - FixedWidth();
            int used = ColWidth(cell.col);
            int first = cell.col;
            while (first - 1 >= left && used + ColExtent(first - 1) <= room) used += ColExtent(--first);
            if (first > left && ColLeft(cell.col) + ColWidth(cell.col) > viewport()->width()) left = first;
        }
    }
    MoveTopLeft(left, top);
}

void StringGrid::MoveTopLeft(int col, int row) {
    col = std::clamp(col, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
    row = std::clamp(row, fixedRows_, std::max(fixedRows_, MaxTopRow()));
    if (col == topLeft_.col && row == topLeft_.row) return;
    topLeft_ = {col, row};
    UpdateScrollBars();
    InvalidateGrid();
    if (OnTopLeftChanged) OnTopLeftChanged();
}

void StringGrid::Initialize() {
    topLeft_ = {fixedCols_, fixedRows_};
    current_ = topLeft_;
    anchor_ = current_;
    if (options_ & kGridRowSelect) anchor_.col = colCount_ - 1;
    UpdateScrollBars();
    InvalidateGrid();
}

void StringGrid::ClampPositions() {
    auto clamp = [this](GridCoord& cell) {
        cell.col = std::min(cell.col, colCount_ - 1);
        cell.row = std::min(cell.row, rowCount_ - 1);
    };
    clamp(current_);
    clamp(anchor_);
    clamp(topLeft_);
    if (options_ & kGridRowSelect) {
        anchor_.col = colCount_ - 1;
        current_.col = fixedCols_;
    }
    // Shrinking the grid or growing the view can leave the top beyond its last place.
    const GridCoord before = topLeft_;
    topLeft_.row = std::clamp(topLeft_.row, fixedRows_, std::max(fixedRows_, MaxTopRow()));
    topLeft_.col = std::clamp(topLeft_.col, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
    UpdateScrollBars();
    InvalidateGrid();
    if (!(before == topLeft_) && OnTopLeftChanged) OnTopLeftChanged();
}

void StringGrid::UpdateScrollBars() {
    updatingScrollBars_ = true;
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, MaxTopRow() - fixedRows_));
    vertical->setPageStep(std::max(1, VisibleRowCount()));
    vertical->setSingleStep(1);
    vertical->setValue(topLeft_.row - fixedRows_);
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, MaxLeftCol() - fixedCols_));
    horizontal->setPageStep(std::max(1, VisibleColCount()));
    horizontal->setSingleStep(1);
    horizontal->setValue(topLeft_.col - fixedCols_);
    updatingScrollBars_ = false;
}

void StringGrid::scrollContentsBy(int, int) {
    if (updatingScrollBars_) return;
    MoveTopLeft(horizontalScrollBar()->value() + fixedCols_, verticalScrollBar()->value() + fixedRows_);
}

void StringGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    ClampPositions();
}

bool StringGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        if (showHint_ && !hint_.empty())
            QToolTip::showText(QCursor::pos(), ToQString(hint_), viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}
