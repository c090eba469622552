// Painting of the string grid: only the lines and columns in view, each cell
// by default drawing and then by the owner-draw handler.

#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include "qt_text.h"
#include "string_grid.h"

namespace {

constexpr int kTextMargin = 2;
const QColor kFixedLineColor(128, 128, 128);
const QColor kBodyLineColor(192, 192, 192);

}  // namespace

unsigned StringGrid::CellState(int col, int row) const {
    if (col < fixedCols_ || row < fixedRows_) return kGdFixed;
    unsigned state = 0;
    const GridRect sel = Selection();
    if (col >= sel.left && col <= sel.right && row >= sel.top && row <= sel.bottom) state |= kGdSelected;
    if (hasFocus() && col == current_.col && row == current_.row) state |= kGdFocused;
    return state;
}

void StringGrid::PaintCell(QPainter& painter, int col, int row, const QRect& rect, unsigned state) {
    painter.save();
    painter.setClipRect(rect);
    if (defaultDrawing_) {
        const bool highlight = (state & kGdSelected) &&
                               (!(state & kGdFocused) || (options_ & (kGridDrawFocusSelected | kGridRowSelect)));
        QColor fill = color_, text = palette().color(QPalette::Text);
        if (state & kGdFixed) {
            fill = fixedColor_;
            text = palette().color(QPalette::ButtonText);
        } else if (highlight) {
            fill = palette().color(QPalette::Highlight);
            text = palette().color(QPalette::HighlightedText);
        }
        painter.fillRect(rect, fill);
        const std::string& cell = cells_[Index(col, row)];
        if (!cell.empty()) {
            painter.setFont(font());
            painter.setPen(text);
            painter.drawText(rect.adjusted(kTextMargin, kTextMargin, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                             ToQString(cell));
        }
    }
    if (OnDrawCell) OnDrawCell(col, row, painter, rect, state);
    painter.restore();
}

void StringGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), color_);
    const int width = viewport()->width(), height = viewport()->height();
    const int lastRow = LastVisibleRow(), lastCol = LastVisibleCol();

    auto paintRow = [&](int row) {
        const int top = RowTop(row);
        if (top < 0 || top >= height) return;
        auto paintCol = [&](int col) {
            const int left = ColLeft(col);
            if (left < 0 || left >= width || ColWidth(col) < 0) return;
            const QRect rect(left, top, ColWidth(col), RowHeight(row));
            if (!rect.adjusted(0, 0, 1, 1).intersects(event->rect())) return;
            const unsigned state = CellState(col, row);
            PaintCell(painter, col, row, rect, state);
            const bool fixed = (state & kGdFixed) != 0;
            const bool vert = options_ & (fixed ? kGridFixedVertLine : kGridVertLine);
            const bool horz = options_ & (fixed ? kGridFixedHorzLine : kGridHorzLine);
            painter.setPen(fixed ? kFixedLineColor : kBodyLineColor);
            if (vert) painter.drawLine(rect.right() + 1, rect.top(), rect.right() + 1, rect.bottom() + 1);
            if (horz) painter.drawLine(rect.left(), rect.bottom() + 1, rect.right() + 1, rect.bottom() + 1);
        };
        for (int c = 0; c < fixedCols_; ++c) paintCol(c);
        for (int c = topLeft_.col; c <= lastCol; ++c) paintCol(c);
    };
    for (int r = 0; r < fixedRows_; ++r) paintRow(r);
    for (int r = topLeft_.row; r <= lastRow; ++r) paintRow(r);

    if (defaultDrawing_ && hasFocus()) {
        // The focus frame: the selected lines of a whole-row grid, else the current cell.
        QRect frame;
        if (options_ & kGridRowSelect) {
            const GridRect sel = Selection();
            for (int r = std::max(sel.top, topLeft_.row); r <= std::min(sel.bottom, lastRow); ++r)
                for (int c = sel.left; c <= sel.right; ++c) frame |= CellRect(c, r);
        } else {
            frame = CellRect(current_.col, current_.row);
        }
        if (!frame.isEmpty()) {
            QPen pen(palette().color(QPalette::HighlightedText));
            pen.setStyle(Qt::DotLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(frame.adjusted(0, 0, -1, -1));
        }
    }
}
