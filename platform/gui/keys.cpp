#include "platform/gui/keys.h"

#include <QKeyEvent>

namespace gui {

namespace {

int KeyCode(int qtKey, bool keypad) {
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return VK_NUMPAD0 + (qtKey - Qt::Key_0);
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Shift:
            return VK_SHIFT;
        case Qt::Key_Control:
            return VK_CONTROL;
        case Qt::Key_Alt:
            return VK_MENU;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Insert:
            return VK_INSERT;
        case Qt::Key_Delete:
            return VK_DELETE;
        case Qt::Key_Asterisk:
            return keypad ? VK_MULTIPLY : 187;
        case Qt::Key_Plus:
            return keypad ? VK_ADD : 187;
        case Qt::Key_Minus:
            return keypad ? VK_SUBTRACT : 189;
        case Qt::Key_Slash:
            return keypad ? VK_DIVIDE : 191;
        case Qt::Key_Period:
            return keypad ? VK_DECIMAL : 190;
        case Qt::Key_Comma:
            return keypad ? VK_DECIMAL : 188;
        case Qt::Key_Semicolon:
            return 186;
        case Qt::Key_Equal:
            return 187;
        case Qt::Key_NumberSign:
            return 191;
        default:
            return 0;
    }
}

}  // namespace

KeyInfo TranslateKey(const QKeyEvent& event) {
    KeyInfo info;
    Qt::KeyboardModifiers m = event.modifiers();
    info.key = KeyCode(event.key(), m & Qt::KeypadModifier);
    if (m & Qt::ShiftModifier || event.key() == Qt::Key_Backtab) info.shift |= ssShift;
    if (m & Qt::AltModifier) info.shift |= ssAlt;
    if (m & Qt::ControlModifier) info.shift |= ssCtrl;
    if (!event.text().isEmpty()) info.ch = event.text().at(0);
    return info;
}

}  // namespace gui
