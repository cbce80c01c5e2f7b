#pragma once
// Keys in the window system's vocabulary: virtual-key codes with a shift state. A QKeyEvent is
// translated here, in one place; handlers consume a key by setting its code to 0.
#include <QChar>

class QKeyEvent;

namespace gui {

enum VirtualKey : int {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_NUMPAD0 = 96,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112,
    VK_F3 = 114,
    VK_F12 = 123,
};

enum ShiftState : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };

struct KeyInfo {
    int key = 0;         // virtual-key code; 0 = consumed
    unsigned shift = 0;  // ShiftState bits
    QChar ch;            // the character the key types, if any
};

KeyInfo TranslateKey(const QKeyEvent& event);

}  // namespace gui
