// Real keys as the game's key codes.
#pragma once

#include <Qt>

#include "core/keys.h"

namespace quarbel {

// Backspace 8, Return and keypad Enter 13, the cursor keys 37 to 40, keypad plus 107 and
// keypad minus 109: the keys the game's handlers act on. Every other key is KeyNone; it still
// reaches the key handler, where any key leaves the title screen.
KeyCode keyCodeFor(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace quarbel
