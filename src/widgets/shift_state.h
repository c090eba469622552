#pragma once
// The keyboard modifiers and mouse buttons held during an event, as one set
// of flags, the way the windows' event handlers were written to read them.

#include <Qt>

enum ShiftFlag : unsigned {
    kSsShift = 0x01,
    kSsAlt = 0x02,
    kSsCtrl = 0x04,
    kSsLeft = 0x08,
    kSsRight = 0x10,
    kSsMiddle = 0x20,
    kSsDouble = 0x40,  // the press of a double click
};

unsigned ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
