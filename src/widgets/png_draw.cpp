#include "png_draw.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int kBlendStrength = 127;
constexpr int kLightStep = 55;

QRgb Apply(QRgb px, unsigned options) {
    int r = qRed(px), g = qGreen(px), b = qBlue(px), a = qAlpha(px);
    if (options & kPngGrayscale) r = g = b = qGray(r, g, b);
    const int step = (options & kPngBrighter ? kLightStep : 0) - (options & kPngDarker ? kLightStep : 0);
    r = std::clamp(r + step, 0, 255);
    g = std::clamp(g + step, 0, 255);
    b = std::clamp(b + step, 0, 255);
    if (options & kPngBlend) a = a * kBlendStrength / 255;
    return qRgba(r, g, b, a);
}

}  // namespace

QPixmap PngWithOptions(const QPixmap& picture, unsigned options) {
    if (picture.isNull() || options == kPngPlain) return picture;
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = Apply(line[x], options);
    }
    QPixmap out = QPixmap::fromImage(image);
    out.setDevicePixelRatio(picture.devicePixelRatio());
    return out;
}

void DrawPng(QPainter& painter, int x, int y, const QPixmap& picture, unsigned options) {
    if (picture.isNull()) return;
    painter.drawPixmap(x, y, PngWithOptions(picture, options));
}
