// The four directions of a step, and every way the game writes one down: the cursor key that
// asks for it, the square it leads to, the way the keeper faces afterwards, the history code
// that the move history and movie files record, and the letter of the solution notation.
#pragma once

#include <array>

#include "core/keys.h"

namespace quarbel {

// A walk records its direction's walk code (1 to 4); a push records the walk code + 4.
constexpr int PushOffset = 4;

struct Direction {
    KeyCode key;  // the cursor key, 37 to 40
    int dx;       // where the step leads: one square along x (right) or y (down)
    int dy;
    int facing;       // the keeper afterwards: 1 up, 2 left, 3 down, 4 right
    int walkCode;     // 1 up, 2 down, 3 right, 4 left
    char walkLetter;  // "u d r l" in the notation; a push is the capital letter

    constexpr int pushCode() const { return walkCode + PushOffset; }
    constexpr char pushLetter() const { return static_cast<char>(walkLetter - 'a' + 'A'); }
};

// In walk-code order: Directions[code - 1] is the direction of walk code `code`.
inline constexpr std::array<Direction, 4> Directions = {{
    {KeyUp, 0, -1, 1, 1, 'u'},
    {KeyDown, 0, 1, 3, 2, 'd'},
    {KeyRight, 1, 0, 4, 3, 'r'},
    {KeyLeft, -1, 0, 2, 4, 'l'},
}};

// The direction of a cursor key; nullptr for any other key.
constexpr const Direction* directionOfKey(KeyCode key) {
    for (const Direction& d : Directions) {
        if (d.key == key) return &d;
    }
    return nullptr;
}

// The direction of a history code, walk or push; nullptr for a code outside 1 to 8.
constexpr const Direction* directionOfCode(int code) {
    if (code < 1 || code > 2 * PushOffset) return nullptr;
    return &Directions[(code - 1) % PushOffset];
}

constexpr bool isPushCode(int code) {
    return code > PushOffset && code <= 2 * PushOffset;
}

// The cursor key that replays a history code, or KeyNone for a code outside 1 to 8.
constexpr KeyCode keyForCode(int code) {
    const Direction* d = directionOfCode(code);
    return d ? d->key : KeyNone;
}

// The notation letter of a history code, or 0 for a code outside 1 to 8.
constexpr char notationLetter(int code) {
    const Direction* d = directionOfCode(code);
    if (!d) return 0;
    return isPushCode(code) ? d->pushLetter() : d->walkLetter;
}

// The history code of a notation letter, or 0 for any other character.
constexpr int codeOfNotationLetter(char letter) {
    for (const Direction& d : Directions) {
        if (letter == d.walkLetter) return d.walkCode;
        if (letter == d.pushLetter()) return d.pushCode();
    }
    return 0;
}

}  // namespace quarbel
