#include "png_draw.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

namespace {

QPixmap OnePixel(QRgb colour) {
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, colour);
    return QPixmap::fromImage(image);
}

QRgb PixelOf(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32).pixel(0, 0); }

// Pixmaps keep premultiplied pixels, so a half-transparent channel may come
// back one off.
bool Near(QRgb a, QRgb b) {
    return qAlpha(a) == qAlpha(b) && std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
           std::abs(qBlue(a) - qBlue(b)) <= 1;
}

TEST(PngDraw, Options) {
    const QRgb source = qRgba(200, 100, 10, 255);
    struct Row {
        unsigned options;
        QRgb expected;
    };
    const int grey = qGray(200, 100, 10);
    const Row rows[] = {
        {kPngPlain, source},
        {kPngBrighter, qRgba(255, 155, 65, 255)},
        {kPngDarker, qRgba(145, 45, 0, 255)},
        {kPngGrayscale, qRgba(grey, grey, grey, 255)},
        {kPngBlend, qRgba(200, 100, 10, 127)},
        {kPngGreyed, qRgba(grey, grey, grey, 127)},
    };
    for (const auto& row : rows)
        EXPECT_TRUE(Near(PixelOf(PngWithOptions(OnePixel(source), row.options)), row.expected)) << row.options;
}

TEST(PngDraw, NullPictureDrawsNothing) {
    EXPECT_TRUE(PngWithOptions(QPixmap(), kPngGreyed).isNull());
    QImage target(4, 4, QImage::Format_ARGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    DrawPng(painter, 0, 0, QPixmap(), kPngPlain);
    DrawPng(painter, 1, 1, OnePixel(qRgba(0, 0, 0, 255)), kPngPlain);
    painter.end();
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(1, 1), qRgb(0, 0, 0));
}

}  // namespace
