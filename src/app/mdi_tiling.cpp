#include "mdi_tiling.h"

#include <cmath>

namespace {

// `total` pixels from `start` cut into `parts` pieces that cover it exactly.
int Edge(int start, int total, int parts, int index) {
    return start + static_cast<int>(static_cast<long long>(total) * index / parts);
}

}  // namespace

std::vector<QRect> TileRects(const QRect& area, int count, bool horizontal) {
    std::vector<QRect> rects;
    if (count <= 0 || area.isEmpty()) return rects;
    const int bands = std::max(1, static_cast<int>(std::floor(std::sqrt(static_cast<double>(count)))));
    rects.reserve(static_cast<std::size_t>(count));
    for (int band = 0; band < bands; ++band) {
        // Windows left over after an even share go to the last bands.
        const int inBand = count / bands + (band >= bands - count % bands ? 1 : 0);
        for (int i = 0; i < inBand; ++i) {
            if (horizontal) {
                // Bands are columns; windows in a band are stacked.
                const int left = Edge(area.left(), area.width(), bands, band);
                const int right = Edge(area.left(), area.width(), bands, band + 1);
                const int top = Edge(area.top(), area.height(), inBand, i);
                const int bottom = Edge(area.top(), area.height(), inBand, i + 1);
                rects.emplace_back(left, top, right - left, bottom - top);
            } else {
                const int top = Edge(area.top(), area.height(), bands, band);
                const int bottom = Edge(area.top(), area.height(), bands, band + 1);
                const int left = Edge(area.left(), area.width(), inBand, i);
                const int right = Edge(area.left(), area.width(), inBand, i + 1);
                rects.emplace_back(left, top, right - left, bottom - top);
            }
        }
    }
    return rects;
}
