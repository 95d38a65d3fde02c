// The rules for changing a level in the editor. Plain C++: the window only calls these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/level.h"

namespace quarbel::editor {

// What the left button paints; the right button always paints Floor.
enum class Tool { Wall, Floor, Crate, Target, CrateOnTarget, Keeper };

// Paints one cell. The keeper tool moves the one keeper there and turns a wall or crate
// under him into floor (a crate on a target into a target); a wall or crate painted over the
// keeper takes him off the board. Returns whether anything changed.
bool paintCell(Level& level, int x, int y, Tool tool);

// The cells of the straight line from one cell to another, both ends included, each a
// neighbour of the one before (no corner is cut, so a drag leaves no gap).
struct Cell {
    int x = 0;
    int y = 0;
    bool operator==(const Cell&) const = default;
};
std::vector<Cell> lineCells(Cell from, Cell to);

// Moves everything one cell in the direction; refused (false, nothing changed) when a wall,
// crate, target or the keeper stands in the row or column that would leave the grid.
bool shiftLevel(Level& level, int dx, int dy);

// Places the smallest box holding every wall, crate, target and the keeper as the pack
// tool's import places a level: (15 - width) / 2 cells from the left and (15 - height) / 2
// from the top. An empty level stays as it is.
bool centreLevel(Level& level);

// The pack stores its title in 29 bytes and an author in 12, both Windows-1252, ended by a
// byte 13 or 0: a text fits when Windows-1252 holds every character, none of them is a
// control character and it is short enough.
bool fitsPackTitle(std::string_view text);
bool fitsAuthor(std::string_view text);

}  // namespace quarbel::editor
