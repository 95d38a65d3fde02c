// One level as every program holds it: the board, where the keeper stands, its title and
// author; the text notation of its squares; and what keeps a level from being played.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/gamestate.h"
#include "core/rect.h"

namespace quarbel {

struct Level {
    Board board{};
    int keeperX = 0;  // 0 while the level has no keeper
    int keeperY = 0;
    std::string title;   // UTF-8; a pack has no room for it, text collections keep it
    std::string author;  // UTF-8; empty writes no signature
    bool operator==(const Level&) const = default;

    bool hasKeeper() const { return onBoard(keeperX, keeperY); }
};

// The smallest box of cells holding every wall, crate, target and the keeper; empty when there
// is none.
Rect extentOf(const Level& level);

// Puts the level's board and keeper into the game's state; nothing else of it changes.
void placeLevel(GameState& s, const Level& level);

// A square of the text notation: the cell and whether the keeper stands on it.
struct Square {
    std::uint8_t cell = CellEmpty;
    bool keeper = false;
};

// '#' wall, '$' crate, '.' target, '*' crate on a target, '@' the keeper, '+' the keeper on a
// target, ' ' floor; nothing for any other character.
std::optional<Square> squareOfSymbol(char symbol);

// The symbol of a square; '?' for a cell code the game does not know.
char symbolOf(Square square);

// "cell (4, 5) holds the unknown code 21" for the first cell, column by column, whose code
// the game does not know; nothing when it knows every cell.
std::optional<std::string> unknownCellProblem(const Board& board);

// What keeps the level from being played, each in its one wording: "no keeper", "the keeper
// stands on a wall or a crate", "no crates", "3 crates but 2 targets". Empty when it can be
// played; cells the keeper cannot reach are allowed.
std::vector<std::string> levelProblems(const Level& level);

}  // namespace quarbel
