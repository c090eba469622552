#include "painters.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "string_grid.h"
#include "system_colors.h"

namespace {

QImage Canvas(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

QPixmap Solid(int size, const QColor& color) {
    QPixmap picture(size, size);
    picture.fill(color);
    return picture;
}

TEST(FillGradient, DirectionSwapAndFrame) {
    struct Case {
        bool horizontal, swap;
        QPoint first, last;  // pixels that carry the start and the end colour
    };
    const Case cases[] = {
        {true, false, {0, 5}, {19, 5}},
        {false, false, {5, 0}, {5, 9}},
        {false, true, {5, 9}, {5, 0}},
    };
    for (const Case& c : cases) {
        QImage image = Canvas(20, 10);
        QPainter painter(&image);
        FillGradient(painter, image.rect(), Qt::red, Qt::blue, c.horizontal, false, c.swap, false);
        painter.end();
        EXPECT_EQ(At(image, c.first.x(), c.first.y()), QColor(Qt::red)) << c.horizontal << c.swap;
        EXPECT_EQ(At(image, c.last.x(), c.last.y()), QColor(Qt::blue)) << c.horizontal << c.swap;
    }
    QImage framed = Canvas(20, 10);
    QPainter painter(&framed);
    FillGradient(painter, framed.rect(), Qt::green, Qt::white, false, true, true, false);
    painter.end();
    EXPECT_EQ(At(framed, 10, 9), QColor(Qt::green)) << "the frame is in the first colour, swapped or not";
    EXPECT_EQ(At(framed, 0, 5), QColor(Qt::green));
    EXPECT_NE(At(framed, 10, 5), QColor(Qt::green));
}

class PainterTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.SetColCount(2);
        grid.SetRowCount(2);
        grid.SetCell(0, 1, "1");
        grid.SetCell(1, 1, "01");
        style = {QColor(0x12, 0x34, 0x56), QFont(QStringLiteral("DejaVu Sans"), 10), Qt::black};
    }
    StringGrid grid;
    CellStyle style;
};

TEST_F(PainterTest, BodyCellsFillWithTheirColourOrTheHighlight) {
    QImage image = Canvas(60, 20);
    QPainter painter(&image);
    DrawCellLeft(grid, painter, QRect(0, 0, 30, 20), 1, 1, 0, style);
    DrawCellCenter(grid, painter, QRect(30, 0, 30, 20), 1, 1, kGdSelected, style);
    painter.end();
    EXPECT_EQ(At(image, 1, 1), style.color);
    EXPECT_EQ(At(image, 31, 1), ClHighlight());
    // The left text starts two pixels in: nothing but the fill before it.
    for (int y = 0; y < 20; ++y) EXPECT_EQ(At(image, 1, y), style.color) << y;
    bool inked = false;
    for (int x = 2; x < 12 && !inked; ++x)
        for (int y = 2; y < 20 && !inked; ++y) inked = At(image, x, y) != style.color;
    EXPECT_TRUE(inked);
}

TEST_F(PainterTest, HeaderCellRunsFromCreamToTheCaptionColour) {
    QImage image = Canvas(40, 20);
    QPainter painter(&image);
    DrawHeaderCell(grid, painter, image.rect(), 0, 0, kGdFixed, false, false, false, false);
    painter.end();
    EXPECT_EQ(At(image, 0, 0), QColor(0xFF, 0xFB, 0xF0));
    EXPECT_EQ(At(image, 0, 19), ClGradientActiveCaption());
}

TEST_F(PainterTest, ImageCellDrawsThePictureNamedByTheText) {
    const PngImageList images = {Solid(10, Qt::red), Solid(10, Qt::green)};
    struct Case {
        int col;
        int width;
        QPoint probe;     // where the picture lands
        QColor expected;
    };
    const Case cases[] = {
        {0, 30, {15, 10}, Qt::green},                  // "1": the second picture, centred
        {1, 30, {15, 10}, QColor(0x12, 0x34, 0x56)},   // "01" names no picture
        {0, 8, {3, 10}, Qt::green},                    // wider than the cell: at offset 2
    };
    for (const Case& c : cases) {
        QImage image = Canvas(c.width, 20);
        QPainter painter(&image);
        DrawImageCell(grid, painter, image.rect(), c.col, 1, 0, images, style);
        painter.end();
        EXPECT_EQ(At(image, c.probe.x(), c.probe.y()), c.expected) << c.col << " " << c.width;
    }
    QImage image = Canvas(30, 20);
    QPainter painter(&image);
    DrawImageCell(grid, painter, image.rect(), 0, 1, 0, images, style);
    painter.end();
    EXPECT_EQ(At(image, 9, 10), style.color) << "left of the centred picture";
    EXPECT_EQ(At(image, 10, 10), QColor(Qt::green));
}

}  // namespace
