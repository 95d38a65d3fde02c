#include "ui/keymap.h"

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
        // The main keyboard's plus and minus do not change the level number.
        case Qt::Key_Plus:
            return keypad ? KeyAdd : KeyNone;
        case Qt::Key_Minus:
            return keypad ? KeySubtract : KeyNone;
        default:
            return KeyNone;
    }
}

}  // namespace quarbel
