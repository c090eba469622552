#pragma once
// The cell painters of the grids and the two-colour gradient. Each cell
// painter fills the whole cell: with the system highlight colours when the
// state holds kGdSelected, otherwise with the caller's colour and font.

#include <QColor>
#include <QFont>
#include <QRect>

#include "pictures.h"

class QPainter;
class StringGrid;

// A cell's brush colour and its font with the font's colour.
struct CellStyle {
    QColor color;
    QFont font;
    QColor fontColor;
};

// From colour a to colour b (b to a when swap), left to right when
// horizontal, else top to bottom. frame outlines the rectangle in colour a,
// with 6 × 6 rounded corners when round.
void FillGradient(QPainter& canvas, const QRect& rect, const QColor& a, const QColor& b, bool horizontal, bool frame,
                  bool swap, bool round);

// The grid's cell text at the left edge + 2, or centred; its top 2 below the cell's.
void DrawCellLeft(const StringGrid& grid, QPainter& canvas, const QRect& rect, int col, int row, unsigned state,
                  const CellStyle& style);
void DrawCellCenter(const StringGrid& grid, QPainter& canvas, const QRect& rect, int col, int row, unsigned state,
                    const CellStyle& style);
// A header cell: a cream to caption-gradient fill, the text centred in Arial 10 point black.
void DrawHeaderCell(const StringGrid& grid, QPainter& canvas, const QRect& rect, int col, int row, unsigned state,
                    bool horizontal, bool frame, bool swap, bool round);
// The picture whose index, written in decimal, is the cell text; none when no index matches.
void DrawImageCell(const StringGrid& grid, QPainter& canvas, const QRect& rect, int col, int row, unsigned state,
                   const PngImageList& images, const CellStyle& style);
