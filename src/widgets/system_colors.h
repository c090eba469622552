#pragma once
// The system colours the windows were designed with, by their old names.
// Those with a counterpart in the Qt palette follow it; the others are the
// classic defaults.

#include <QColor>
#include <cstdint>

QColor ClBtnFace();
QColor ClWindow();
QColor ClWindowText();
QColor ClMenuText();
QColor ClHighlight();
QColor ClHighlightText();
QColor ClAppWorkSpace();
QColor ClGradientActiveCaption();

inline QColor ClLime() { return QColor(0x00, 0xFF, 0x00); }
inline QColor ClRed() { return QColor(0xFF, 0x00, 0x00); }
inline QColor ClBlack() { return QColor(0x00, 0x00, 0x00); }
inline QColor ClSilver() { return QColor(0xC0, 0xC0, 0xC0); }

// A screen colour value (red in the low byte, then green, then blue).
inline QColor ScreenColor(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}
