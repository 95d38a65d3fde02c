// Key codes as the game's handlers see them, whatever produced the key.
#pragma once

#include <cstdint>

namespace quarbel {

using KeyCode = std::uint16_t;

constexpr KeyCode KeyNone = 0;
constexpr KeyCode KeyBack = 8;
constexpr KeyCode KeyReturn = 13;
constexpr KeyCode KeyLeft = 37;
constexpr KeyCode KeyUp = 38;
constexpr KeyCode KeyRight = 39;
constexpr KeyCode KeyDown = 40;
constexpr KeyCode KeyAdd = 107;       // numeric keypad plus
constexpr KeyCode KeySubtract = 109;  // numeric keypad minus

}  // namespace quarbel
