#pragma once
// The system colours the windows were designed with, by their old names.
// Those with a counterpart in the Qt palette follow it; the others are the
// classic defaults.

#include <QColor>

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
