// Mouse, keyboard and wheel of the string grid, in the order the toolkit
// gave them: the grid moves first on a press, the handler sees the key first.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

#include "qt_text.h"
#include "shift_state.h"
#include "string_grid.h"

namespace {

constexpr int kSizingSlack = 2;  // pixels either side of a column line
constexpr int kMinSizedWidth = 4;
constexpr int kWheelNotch = 120;

QPoint PosOf(const QMouseEvent* event) { return event->position().toPoint(); }

}  // namespace

int StringGrid::ColumnLineAt(int x, int y) const {
    if (!(options_ & kGridColSizing) || y < 0 || y >= FixedHeight()) return -1;
    int found = -1;
    for (int c = 0; c < colCount_; ++c) {
        const int left = ColLeft(c);
        if (left < 0 || ColWidth(c) < 0) continue;
        if (left >= viewport()->width()) break;
        const int line = left + ColWidth(c);
        if (x >= line - kSizingSlack && x <= line + kSizingSlack) found = c;
    }
    return found;
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = PosOf(event);
    const unsigned shift = ShiftFromQt(event->modifiers(), event->buttons());
    if (event->button() == Qt::LeftButton) {
        const int line = ColumnLineAt(pos.x(), pos.y());
        if (line >= 0) {
            // Sizing a column is not a press on a cell: no handler runs.
            state_ = State::ColSizing;
            sizingCol_ = line;
            sizingOffset_ = ColLeft(line) + ColWidth(line) - pos.x();
            return;
        }
        const GridCoord cell = MouseCoord(pos.x(), pos.y());
        if (cell.col >= fixedCols_ && cell.row >= fixedRows_) {
            if (shift & kSsShift)
                MoveAnchor(cell);
            else
                MoveCurrent(cell.col, cell.row, true, true);
            state_ = State::Selecting;
            dragPos_ = pos;
        }
    }
    if (OnMouseDown) OnMouseDown(event->button(), shift, pos.x(), pos.y());
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = PosOf(event);
    const unsigned shift = ShiftFromQt(event->modifiers(), event->buttons()) | kSsDouble;
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick();
    if (OnMouseDown) OnMouseDown(event->button(), shift, pos.x(), pos.y());
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = PosOf(event);
    const unsigned shift = ShiftFromQt(event->modifiers(), event->buttons());
    if (state_ == State::Selecting && (event->buttons() & Qt::LeftButton)) {
        DragTo(pos);
    } else if (state_ == State::ColSizing) {
        const int left = ColLeft(sizingCol_);
        if (left >= 0) SetColWidth(sizingCol_, std::max(kMinSizedWidth, pos.x() + sizingOffset_ - left));
    } else {
        viewport()->setCursor(ColumnLineAt(pos.x(), pos.y()) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
    }
    if (OnMouseMove) OnMouseMove(shift, pos.x(), pos.y());
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = PosOf(event);
    state_ = State::Normal;
    autoScroll_.stop();
    if (OnMouseUp) OnMouseUp(event->button(), ShiftFromQt(event->modifiers(), event->buttons()), pos.x(), pos.y());
}

void StringGrid::DragTo(const QPoint& pos) {
    dragPos_ = pos;
    const bool outside = pos.y() < FixedHeight() || pos.y() >= viewport()->height() || pos.x() < FixedWidth() ||
                         pos.x() >= viewport()->width();
    if (outside) {
        if (!autoScroll_.isActive()) autoScroll_.start();
        return;
    }
    autoScroll_.stop();
    const GridCoord cell = MouseCoord(pos.x(), pos.y());
    if (cell.col < fixedCols_ || cell.row < fixedRows_) return;
    // The far end of the drag: the current line of a plain grid, the anchor of a range.
    const GridCoord end = (options_ & kGridRangeSelect) ? anchor_ : current_;
    const bool rows = (options_ & kGridRowSelect) != 0;
    if (cell.row != end.row || (!rows && cell.col != end.col)) MoveAnchor(cell);
}

void StringGrid::AutoScrollStep() {
    if (state_ != State::Selecting) {
        autoScroll_.stop();
        return;
    }
    GridCoord target = (options_ & kGridRangeSelect) ? anchor_ : current_;
    if (dragPos_.y() < FixedHeight())
        target.row = std::max(fixedRows_, topLeft_.row - 1);
    else if (dragPos_.y() >= viewport()->height())
        target.row = std::min(rowCount_ - 1, topLeft_.row + std::max(1, VisibleRowCount()));
    if (!(options_ & kGridRowSelect)) {
        if (dragPos_.x() < FixedWidth())
            target.col = std::max(fixedCols_, topLeft_.col - 1);
        else if (dragPos_.x() >= viewport()->width())
            target.col = std::min(colCount_ - 1, topLeft_.col + std::max(1, VisibleColCount()));
    }
    const GridCoord end = (options_ & kGridRangeSelect) ? anchor_ : current_;
    if (!(target == end)) MoveAnchor(target);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    const unsigned shift = ShiftFromQt(event->modifiers(), QApplication::mouseButtons());
    if (OnKeyDown) OnKeyDown(key, shift);
    bool used = key == 0;
    if (key != 0) {
        switch (key) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
                Navigate(key, shift);
                used = true;
                break;
            default:
                break;
        }
    }
    const QString text = event->text();
    if (!text.isEmpty()) {
        const std::string bytes = FromQString(text.left(1));
        char ch = bytes.empty() ? '?' : bytes[0];
        if (OnKeyPress) OnKeyPress(ch);
        // Esc is left to the window (a dialog closes on it) unless the handler took it.
        if (event->key() != Qt::Key_Escape || ch == 0) used = true;
    }
    if (used)
        event->accept();
    else
        event->ignore();
}

void StringGrid::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyUp) OnKeyUp(key, ShiftFromQt(event->modifiers(), QApplication::mouseButtons()));
    event->ignore();
}

void StringGrid::Navigate(int key, unsigned shift) {
    GridCoord next = current_;
    GridCoord top = topLeft_;
    const bool rows = (options_ & kGridRowSelect) != 0;
    const int page = std::max(1, VisibleRowCount() - 1);
    auto step = [this](int col, int delta) {
        // Hidden columns are stepped over.
        for (int c = col + delta; c >= 0 && c < colCount_; c += delta)
            if (ColWidth(c) >= 0) return c;
        return col;
    };
    if (shift & kSsCtrl) {
        switch (key) {
            case Qt::Key_Up: --top.row; break;
            case Qt::Key_Down: ++top.row; break;
            case Qt::Key_Left: --top.col; break;
            case Qt::Key_Right: ++top.col; break;
            case Qt::Key_PageUp: next.row = topLeft_.row; break;
            case Qt::Key_PageDown: next.row = topLeft_.row + std::max(0, VisibleRowCount() - 1); break;
            case Qt::Key_Home: next = {fixedCols_, fixedRows_}; break;
            case Qt::Key_End: next = {colCount_ - 1, rowCount_ - 1}; break;
            default: return;
        }
    } else {
        switch (key) {
            case Qt::Key_Up: --next.row; break;
            case Qt::Key_Down: ++next.row; break;
            case Qt::Key_Left:
                if (rows) --top.col; else next.col = step(next.col, -1);
                break;
            case Qt::Key_Right:
                if (rows) ++top.col; else next.col = step(next.col, 1);
                break;
            case Qt::Key_PageUp: next.row -= page; top.row -= page; break;
            case Qt::Key_PageDown: next.row += page; top.row += page; break;
            case Qt::Key_Home:
                if (rows) next.row = fixedRows_; else next.col = fixedCols_;
                break;
            case Qt::Key_End:
                if (rows) next.row = rowCount_ - 1; else next.col = colCount_ - 1;
                break;
            default: return;
        }
    }
    next.col = std::clamp(next.col, fixedCols_, colCount_ - 1);
    next.row = std::clamp(next.row, fixedRows_, rowCount_ - 1);
    if (!(top == topLeft_)) MoveTopLeft(top.col, top.row);
    if (!(next == current_)) MoveCurrent(next.col, next.row, !(shift & kSsShift), true);
}

void StringGrid::wheelEvent(QWheelEvent* event) {
    wheelAccumulator_ += event->angleDelta().y();
    const unsigned shift = ShiftFromQt(event->modifiers(), event->buttons());
    const QPoint global = event->globalPosition().toPoint();
    while (wheelAccumulator_ >= kWheelNotch || wheelAccumulator_ <= -kWheelNotch) {
        const bool up = wheelAccumulator_ > 0;
        wheelAccumulator_ += up ? -kWheelNotch : kWheelNotch;
        bool handled = false;
        if (up && OnMouseWheelUp) OnMouseWheelUp(shift, global, handled);
        if (!up && OnMouseWheelDown) OnMouseWheelDown(shift, global, handled);
        if (handled) continue;
        if (up && current_.row > fixedRows_) SetRow(current_.row - 1);
        if (!up && current_.row < rowCount_ - 1) SetRow(current_.row + 1);
    }
    event->accept();
}

void StringGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    InvalidateGrid();
}

void StringGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    InvalidateGrid();
}
