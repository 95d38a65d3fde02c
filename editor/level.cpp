#include "editor/level.h"

#include <algorithm>
#include <cstdlib>

#include "core/cp1252.h"
#include "core/levelpack.h"

namespace quarbel::editor {

namespace {

std::uint8_t cellOf(Tool tool) {
    switch (tool) {
        case Tool::Wall:
            return CellWall;
        case Tool::Crate:
            return CellCrate;
        case Tool::Target:
            return CellTarget;
        case Tool::CrateOnTarget:
            return CellCrateOnTarget;
        case Tool::Floor:
        case Tool::Keeper:
            break;
    }
    return CellEmpty;
}

// What is left of a cell when the keeper is put on it.
std::uint8_t groundUnder(std::uint8_t cell) {
    return cell == CellTarget || cell == CellCrateOnTarget ? CellTarget : CellEmpty;
}

bool fitsPackText(std::string_view text, std::size_t limit) {
    std::string bytes;
    if (!utf8ToCp1252(text, bytes) || bytes.size() > limit) return false;
    return std::none_of(bytes.begin(), bytes.end(),
                        [](char c) { return static_cast<unsigned char>(c) < ' '; });
}

}  // namespace

bool paintCell(Level& level, int x, int y, Tool tool) {
    if (!onBoard(x, y)) return false;
    std::uint8_t& cell = level.board.at(x, y);
    const Level before = level;
    if (tool == Tool::Keeper) {
        level.keeperX = x;
        level.keeperY = y;
        cell = groundUnder(cell);
    } else {
        cell = cellOf(tool);
        if (x == level.keeperX && y == level.keeperY && !isWalkable(cell)) {
            level.keeperX = 0;
            level.keeperY = 0;
        }
    }
    return level != before;
}

std::vector<Cell> lineCells(Cell from, Cell to) {
    // How far a cell lies from the ideal line, as the cross product with its direction.
    auto deviation = [&](Cell c) {
        return std::abs((c.x - from.x) * (to.y - from.y) - (c.y - from.y) * (to.x - from.x));
    };
    const int sx = to.x > from.x ? 1 : -1;
    const int sy = to.y > from.y ? 1 : -1;
    std::vector<Cell> cells{from};
    for (Cell at = from; at != to; cells.push_back(at)) {
        const Cell across{at.x + sx, at.y};
        const Cell down{at.x, at.y + sy};
        if (at.x == to.x)
            at = down;
        else if (at.y == to.y)
            at = across;
        else
            at = deviation(across) <= deviation(down) ? across : down;
    }
    return cells;
}

bool shiftLevel(Level& level, int dx, int dy) {
    const Rect e = extentOf(level);
    if (e.empty()) return false;
    if (e.left + dx < 1 || e.right() - 1 + dx > BoardSide || e.top + dy < 1 ||
        e.bottom() - 1 + dy > BoardSide) {
        return false;
    }
    Board moved{};
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            if (onBoard(x - dx, y - dy)) moved.at(x, y) = level.board.at(x - dx, y - dy);
        }
    }
    level.board = moved;
    if (level.hasKeeper()) {
        level.keeperX += dx;
        level.keeperY += dy;
    }
    return dx != 0 || dy != 0;
}

bool centreLevel(Level& level) {
    const Rect e = extentOf(level);
    if (e.empty()) return false;
    const int left = (BoardSide - e.width) / 2 + 1;
    const int top = (BoardSide - e.height) / 2 + 1;
    return shiftLevel(level, left - e.left, top - e.top);
}

bool fitsPackTitle(std::string_view text) {
    return fitsPackText(text, MaxTitleBytes);
}

bool fitsAuthor(std::string_view text) {
    return fitsPackText(text, AuthorFieldSize);
}

}  // namespace quarbel::editor
