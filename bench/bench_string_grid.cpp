// The string grid at the size of a large database: filling it, searching
// all of it, and painting one view of it.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <string>

#include "grid_helpers.h"
#include "painters.h"
#include "string_grid.h"

namespace {

constexpr int kLines = 100000;

void FillAddresses(StringGrid& grid) {
    grid.SetColCount(5);
    grid.SetRowCount(kLines + 1);
    grid.SetRowTexts(0, {"", "Street", "House", "Corpus", "Entrance"});
    for (int i = 1; i <= kLines; ++i)
        grid.SetRowTexts(i, {"0", "Street number " + std::to_string(i % 997), std::to_string(i % 150), "-",
                             std::to_string(i % 9)});
    GridSetFixed(grid, 0, 1);
}

void BM_FillAddresses(benchmark::State& state) {
    for (auto _ : state) {
        StringGrid grid;
        FillAddresses(grid);
        benchmark::DoNotOptimize(grid.Cell(1, kLines));
    }
}
BENCHMARK(BM_FillAddresses)->Unit(benchmark::kMillisecond);

void BM_FindNextWithoutMatch(benchmark::State& state) {
    StringGrid grid;
    grid.SetOptions(kGridDefaultOptions | kGridRowSelect);
    FillAddresses(grid);
    for (auto _ : state) {
        grid.SetRow(kLines / 2);
        benchmark::DoNotOptimize(GridFindNext(grid, "nowhere", {}));
    }
}
BENCHMARK(BM_FindNextWithoutMatch)->Unit(benchmark::kMillisecond);

void BM_PaintOneView(benchmark::State& state) {
    StringGrid grid;
    grid.SetOptions(kGridDefaultOptions | kGridRowSelect);
    grid.SetDefaultRowHeight(20);
    FillAddresses(grid);
    grid.resize(600, 800);
    const CellStyle style{Qt::white, QFont(), Qt::black};
    grid.OnDrawCell = [&](int col, int row, QPainter& canvas, const QRect& rect, unsigned drawState) {
        if (row == 0)
            DrawHeaderCell(grid, canvas, rect, col, row, drawState, false, false, false, false);
        else
            DrawCellLeft(grid, canvas, rect, col, row, drawState, style);
    };
    grid.SetTopRow(kLines / 2);
    QImage target(grid.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        grid.render(&target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintOneView)->Unit(benchmark::kMillisecond);

}  // namespace
