#include "mdi_tiling.h"

#include <gtest/gtest.h>

namespace {

TEST(TileRects, BandsOfWindows) {
    const QRect area(0, 0, 600, 400);
    struct Case {
        int count;
        bool horizontal;
        std::vector<QRect> expected;
    };
    const Case cases[] = {
        {1, true, {QRect(0, 0, 600, 400)}},
        {2, true, {QRect(0, 0, 600, 200), QRect(0, 200, 600, 200)}},
        {2, false, {QRect(0, 0, 300, 400), QRect(300, 0, 300, 400)}},
        {3, true, {QRect(0, 0, 600, 133), QRect(0, 133, 600, 133), QRect(0, 266, 600, 134)}},
        {4, false, {QRect(0, 0, 300, 200), QRect(300, 0, 300, 200), QRect(0, 200, 300, 200), QRect(300, 200, 300, 200)}},
        // Five in two columns: the later column takes the extra window.
        {5, true, {QRect(0, 0, 300, 200), QRect(0, 200, 300, 200), QRect(300, 0, 300, 133), QRect(300, 133, 300, 133),
                   QRect(300, 266, 300, 134)}},
        {0, true, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(TileRects(area, c.count, c.horizontal), c.expected) << c.count;
}

}  // namespace
