#pragma once
// Drawing a picture with the options the controls use: blended (half
// transparent, strength 127), greyscale, brighter or darker by 55.
// "Greyed" is blended and greyscale together, how a disabled control draws.

#include <QPixmap>

class QPainter;

enum PngDrawOption : unsigned {
    kPngPlain = 0,
    kPngBlend = 1,
    kPngGrayscale = 2,
    kPngBrighter = 4,
    kPngDarker = 8,
    kPngGreyed = kPngBlend | kPngGrayscale,
};

// The picture with the options applied; a null picture stays null.
QPixmap PngWithOptions(const QPixmap& picture, unsigned options);
void DrawPng(QPainter& painter, int x, int y, const QPixmap& picture, unsigned options);
