// Real keys as the game's key codes.
#pragma once

#include <Qt>

#include "core/keys.h"

namespace quarbel {

// Backspace 8, Return and keypad Enter 13, the cursor keys 37 to 40, keypad plus 107 and
// keypad minus 109; other keys get their usual Windows codes where they have one, else 0.
KeyCode keyCodeFor(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace quarbel
