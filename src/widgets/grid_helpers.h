#pragma once
// Helpers over the string grids, whose line 0 is a header.

#include <string>
#include <vector>

#include "string_grid.h"

// The list index shown on a grid line: line − 1, where line −1 stands for
// the current line; −1 when the grid has at most one line (nothing but the
// header), and for line 0.
int GridDataRow(const StringGrid& grid, int row);

// Makes (col, row) the current cell the way a click would: the select-cell
// handler runs, the anchor follows, the cell is scrolled into view.
void GridSelectCell(StringGrid& grid, int col, int row);
void GridSetFixed(StringGrid& grid, int fixedCols, int fixedRows);

// Finds the text (case-insensitive, CP1251) after the current row (whole-row
// grids) or cell, skipping the listed columns, and makes the match current:
// a whole-row grid selects column fixed columns + 1 of its row. After the
// last line the search goes round once from the top. With no match at all,
// column 1 of line 1 becomes current and the result is false. The grid's
// fixed counts are the same afterwards. An empty text matches nothing.
bool GridFindNext(StringGrid& grid, const std::string& text, const std::vector<int>& skippedCols);

// The cells of a block as text: each cell of a column that is not hidden
// followed by a tab, each line by "\n".
std::string GridText(const StringGrid& grid, const GridRect& rect);
// GridText of the whole grid, or of its selection, to the clipboard.
void GridCopyAll(const StringGrid& grid, int format);
void GridCopySelection(const StringGrid& grid, int format);

// Every cell followed by a tab, every line by CR LF, replacing the file.
// False when the file cannot be opened or written.
bool GridSaveText(const StringGrid& grid, const std::string& fileName);
