#pragma once
// A grid of CP1251 text cells addressed by column and line, with the rules
// the windows were designed on: line 0 is a header that is a line like the
// others, fixed lines and columns stay in place while the rest scrolls by
// whole lines and columns, a current cell and an anchor span the selection
// (whole rows or a range of cells), and an owner-draw callback paints the
// cells. Only visible cells are painted and cells are plain strings in one
// array, so a grid of a hundred thousand lines stays cheap.
//
// Event order, as the windows rely on it:
// - left press on a body cell: OnSelectCell (may refuse), the current cell
//   moves, then OnMouseDown; a press on a fixed cell or outside the cells
//   moves nothing; a right or middle press only gives OnMouseDown;
//   a press on a column line in the fixed lines starts sizing and gives no
//   OnMouseDown;
// - dragging with the left button moves the current cell (whole-row grids)
//   or the selection's far end (range grids), then OnMouseMove;
// - double click: OnDblClick, then OnMouseDown with kSsDouble;
// - key: OnKeyDown (setting the key to 0 keeps the grid from moving), the
//   grid's own navigation, then OnKeyPress for keys that give a character;
// - wheel: OnMouseWheelDown/Up per notch; unless handled, the current line
//   moves by one.

#include <QAbstractScrollArea>
#include <QColor>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QPainter;

struct GridCoord {
    int col = 0;
    int row = 0;
    bool operator==(const GridCoord&) const = default;
};

// Inclusive bounds, left <= right and top <= bottom.
struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const GridRect&) const = default;
};

enum GridOption : unsigned {
    kGridFixedVertLine = 0x001,
    kGridFixedHorzLine = 0x002,
    kGridVertLine = 0x004,
    kGridHorzLine = 0x008,
    kGridRangeSelect = 0x010,        // Shift and dragging select a block
    kGridDrawFocusSelected = 0x020,  // the current cell is highlighted too
    kGridColSizing = 0x040,          // column lines in the fixed lines can be dragged
    kGridRowSelect = 0x080,          // the current line is selected whole
    kGridThumbTracking = 0x100,      // the view follows the scroll thumb while dragged
};
inline constexpr unsigned kGridDefaultOptions =
    kGridFixedVertLine | kGridFixedHorzLine | kGridVertLine | kGridHorzLine | kGridRangeSelect;

enum GridDrawState : unsigned {
    kGdSelected = 0x1,  // inside the selection
    kGdFocused = 0x2,   // the current cell of a grid that has the focus
    kGdFixed = 0x4,     // a fixed line or column
};

class StringGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);
    ~StringGrid() override;

    // Sizes. Counts are at least 1; fixed counts stay below them.
    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    void SetColCount(int count);
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    // A change puts the current cell and the top line back to the first
    // body cell, without OnSelectCell.
    void SetFixedCols(int count);
    void SetFixedRows(int count);

    // Cells; outside the grid reads give "" and writes are dropped.
    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    void SetRowTexts(int row, std::vector<std::string> texts);
    void ClearCells();

    // The current cell. Setting a different one runs OnSelectCell, moves the
    // anchor with it and scrolls it into view.
    int Col() const { return current_.col; }
    int Row() const { return current_.row; }
    void SetCol(int col);
    void SetRow(int row);
    // Like setting both at once: one OnSelectCell, even for the same cell.
    void FocusCell(int col, int row);

    // The first scrolled line and column, and how many fit wholly.
    int TopRow() const { return topLeft_.row; }
    int LeftCol() const { return topLeft_.col; }
    void SetTopRow(int row);
    void SetLeftCol(int col);
    int VisibleRowCount() const;
    int VisibleColCount() const;

    // The block between the current cell and the anchor; whole rows span the
    // body columns. Setting it puts the anchor at its top left and the
    // current cell at its bottom right, without OnSelectCell.
    GridRect Selection() const;
    void SetSelection(const GridRect& rect);

    unsigned Options() const { return options_; }
    void SetOptions(unsigned options);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool on) { defaultDrawing_ = on; }

    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    // A width below 0 hides the column.
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(const QColor& color);

    // Cell under a point of the cell area; -1 for a column or line past the
    // cells.
    GridCoord MouseCoord(int x, int y) const;
    // Where a cell is drawn in the cell area; empty when it is not in view.
    QRect CellRect(int col, int row) const;
    void InvalidateCell(int col, int row);
    void InvalidateRow(int row);
    void InvalidateGrid();

    // The hover hint; ActivateHint shows it at once at the mouse, CancelHint
    // hides it.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on) { showHint_ = on; }
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string text) { hint_ = std::move(text); }
    void ActivateHint();
    void CancelHint();

    // Event handlers, one each, as the form's handlers are wired.
    std::function<void(int col, int row, QPainter& canvas, const QRect& rect, unsigned state)> OnDrawCell;
    std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(Qt::MouseButton button, unsigned shift, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButton button, unsigned shift, int x, int y)> OnMouseUp;
    std::function<void(unsigned shift, int x, int y)> OnMouseMove;
    std::function<void(int& key, unsigned shift)> OnKeyDown;  // Qt::Key codes
    std::function<void(int& key, unsigned shift)> OnKeyUp;
    std::function<void(char& key)> OnKeyPress;  // CP1251 character; 13 Enter, 27 Esc
    // mousePos in screen coordinates.
    std::function<void(unsigned shift, const QPoint& mousePos, bool& handled)> OnMouseWheelDown;
    std::function<void(unsigned shift, const QPoint& mousePos, bool& handled)> OnMouseWheelUp;
    std::function<void()> OnDblClick;
    std::function<void()> OnTopLeftChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class State { Normal, Selecting, ColSizing };

    // Geometry of the cell area.
    int LineWidth() const { return 1; }
    int ColExtent(int col) const;  // width plus its line; 0 when hidden
    int RowExtent(int row) const { return RowHeight(row) + LineWidth(); }
    int FixedWidth() const;
    int FixedHeight() const;
    int ColLeft(int col) const;  // -1 when scrolled out of view
    int RowTop(int row) const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    int LastVisibleRow() const;  // last line drawn at all, wholly or not
    int LastVisibleCol() const;
    int ColumnLineAt(int x, int y) const;  // column whose right line is under x in the fixed lines, or -1

    // The moves of the current cell and the anchor.
    bool MoveCurrent(int col, int row, bool moveAnchor, bool show);
    void MoveAnchor(const GridCoord& to);
    void ClampInView(const GridCoord& cell);
    void MoveTopLeft(int col, int row);
    void Initialize();
    void ClampPositions();
    void UpdateScrollBars();

    void Navigate(int key, unsigned shift);
    void DragTo(const QPoint& pos);
    void AutoScrollStep();
    void PaintCell(QPainter& painter, int col, int row, const QRect& rect, unsigned state);
    unsigned CellState(int col, int row) const;

    std::size_t Index(int col, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount_) + static_cast<std::size_t>(col);
    }

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    std::vector<std::string> cells_;           // row-major, colCount_ × rowCount_
    std::vector<int> colWidths_;               // one per column
    std::vector<std::pair<int, int>> rowHeights_;  // (line, height) where it differs, sorted
    int defaultRowHeight_ = 24;
    int defaultColWidth_ = 64;
    unsigned options_ = kGridDefaultOptions;
    bool defaultDrawing_ = true;
    QColor color_;
    QColor fixedColor_;

    GridCoord current_;
    GridCoord anchor_;
    GridCoord topLeft_;

    State state_ = State::Normal;
    int sizingCol_ = -1;
    int sizingOffset_ = 0;
    QPoint dragPos_;
    QTimer autoScroll_;
    int wheelAccumulator_ = 0;
    bool updatingScrollBars_ = false;

    bool showHint_ = false;
    std::string hint_;
};
