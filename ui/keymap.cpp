#include "keymap.h"

namespace quarbel {

KeyCode keyCodeFor(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    switch (qtKey) {
        case Qt::Key_Backspace:
            return KeyBack;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return KeyReturn;
        case Qt::Key_Left:
            return KeyLeft;
        case Qt::Key_Up:
            return KeyUp;
        case Qt::Key_Right:
            return KeyRight;
        case Qt::Key_Down:
            return KeyDown;
        case Qt::Key_Plus:
            return keypad ? KeyAdd : 187;
        case Qt::Key_Minus:
            return keypad ? KeySubtract : 189;
        case Qt::Key_Asterisk:
            return keypad ? 106 : 0;
        case Qt::Key_Slash:
            return keypad ? 111 : 191;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        default:
            break;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return static_cast<KeyCode>(keypad ? 96 + (qtKey - Qt::Key_0) : qtKey);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<KeyCode>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<KeyCode>(112 + (qtKey - Qt::Key_F1));
    }
    return KeyNone;
}

}  // namespace quarbel
