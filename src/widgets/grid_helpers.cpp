#include "grid_helpers.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "Cp1251.h"
#include "clipboard.h"

namespace {

bool Skipped(const std::vector<int>& skippedCols, int col) {
    return std::find(skippedCols.begin(), skippedCols.end(), col) != skippedCols.end();
}

// `needle` is already lower case; `buffer` saves an allocation per cell.
bool ContainsLower(const std::string& cell, const std::string& needle, std::string& buffer) {
    if (needle.empty() || cell.size() < needle.size()) return false;
    buffer.assign(cell);
    for (char& c : buffer) c = cp1251::ToLower(c);
    return buffer.find(needle) != std::string::npos;
}

// One pass from the current cell; wraps once through a pass from the top.
// The caller's fixed counts travel along, since the wrap clears them.
bool FindFrom(StringGrid& grid, const std::string& needle, const std::vector<int>& skippedCols, int fixedCols,
              int fixedRows, bool mayWrap) {
    const bool rowSelect = (grid.Options() & kGridRowSelect) != 0;
    const int currentRow = grid.Row(), currentCol = grid.Col();
    const bool fromTop = currentRow == 0 && currentCol == 0;
    const int startRow = currentRow == 0 ? 1 : currentRow;
    std::string buffer;
    for (int r = startRow; r < grid.RowCount(); ++r) {
        for (int c = r == startRow ? currentCol : 0; c < grid.ColCount(); ++c) {
            if (Skipped(skippedCols, c)) continue;
            const bool current = rowSelect ? r == currentRow : (r == currentRow && c == currentCol);
            if (current || !ContainsLower(grid.Cell(c, r), needle, buffer)) continue;
            GridSetFixed(grid, fixedCols, fixedRows);
            GridSelectCell(grid, rowSelect ? fixedCols + 1 : c, r);
            return true;
        }
    }
    if (fromTop || !mayWrap) {
        GridSetFixed(grid, fixedCols, fixedRows);
        GridSelectCell(grid, 1, 1);
        return false;
    }
    GridSetFixed(grid, 0, 0);
    GridSelectCell(grid, 0, 0);
    return FindFrom(grid, needle, skippedCols, fixedCols, fixedRows, false);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

int GridDataRow(const StringGrid& grid, int row) {
    if (grid.RowCount() <= 1) return -1;
    if (row == -1) row = grid.Row();
    return row - 1;
}

void GridSelectCell(StringGrid& grid, int col, int row) { grid.FocusCell(col, row); }

void GridSetFixed(StringGrid& grid, int fixedCols, int fixedRows) {
    grid.SetFixedCols(fixedCols);
    grid.SetFixedRows(fixedRows);
}

bool GridFindNext(StringGrid& grid, const std::string& text, const std::vector<int>& skippedCols) {
    return FindFrom(grid, cp1251::ToLower(text), skippedCols, grid.FixedCols(), grid.FixedRows(), true);
}

std::string GridText(const StringGrid& grid, const GridRect& rect) {
    std::string out;
    for (int r = std::max(0, rect.top); r <= std::min(rect.bottom, grid.RowCount() - 1); ++r) {
        for (int c = std::max(0, rect.left); c <= std::min(rect.right, grid.ColCount() - 1); ++c) {
            if (grid.ColWidth(c) < 0) continue;
            out += grid.Cell(c, r);
            out += '\t';
        }
        out += '\n';
    }
    return out;
}

void GridCopyAll(const StringGrid& grid, int format) {
    ClipboardSetText(GridText(grid, {0, 0, grid.ColCount() - 1, grid.RowCount() - 1}), format);
}

void GridCopySelection(const StringGrid& grid, int format) { ClipboardSetText(GridText(grid, grid.Selection()), format); }

bool GridSaveText(const StringGrid& grid, const std::string& fileName) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "wb"));
    if (!file) return false;
    bool ok = true;
    for (int r = 0; r < grid.RowCount() && ok; ++r) {
        for (int c = 0; c < grid.ColCount() && ok; ++c) {
            const std::string& cell = grid.Cell(c, r);
            ok = std::fwrite(cell.data(), 1, cell.size(), file.get()) == cell.size() && std::fputc('\t', file.get()) != EOF;
        }
        // Lines end as a text-mode write ends them on the system the files are read on.
        ok = ok && std::fputs("\r\n", file.get()) != EOF;
    }
    return std::fclose(file.release()) == 0 && ok;
}
