#include "system_colors.h"

#include <QApplication>
#include <QPalette>

QColor ClBtnFace() { return QApplication::palette().color(QPalette::Button); }
QColor ClWindow() { return QApplication::palette().color(QPalette::Base); }
QColor ClWindowText() { return QApplication::palette().color(QPalette::Text); }
QColor ClMenuText() { return QApplication::palette().color(QPalette::WindowText); }
QColor ClHighlight() { return QApplication::palette().color(QPalette::Highlight); }
QColor ClHighlightText() { return QApplication::palette().color(QPalette::HighlightedText); }
QColor ClAppWorkSpace() { return QColor(0xAB, 0xAB, 0xAB); }
QColor ClGradientActiveCaption() { return QColor(0xB9, 0xD1, 0xEA); }
