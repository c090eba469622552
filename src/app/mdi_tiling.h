#pragma once
// Where tiled MDI children go. Tiled horizontally, windows lie one above
// another across the full width; vertically, side by side. Many windows are
// tiled in a grid of about √n bands, the later bands taking one more window.

#include <QRect>
#include <vector>

std::vector<QRect> TileRects(const QRect& area, int count, bool horizontal);
