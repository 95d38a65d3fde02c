#include "core/level.h"

#include <algorithm>

#include "core/counted.h"

namespace quarbel {

std::optional<Square> squareOfSymbol(char symbol) {
    switch (symbol) {
        case ' ':
            return Square{CellEmpty, false};
        case '#':
            return Square{CellWall, false};
        case '$':
            return Square{CellCrate, false};
        case '.':
            return Square{CellTarget, false};
        case '*':
            return Square{CellCrateOnTarget, false};
        case '@':
            return Square{CellEmpty, true};
        case '+':
            return Square{CellTarget, true};
        default:
            return std::nullopt;
    }
}

char symbolOf(Square square) {
    switch (square.cell) {
        case CellEmpty:
            return square.keeper ? '@' : ' ';
        case CellWall:
            return '#';
        case CellCrate:
            return '$';
        case CellTarget:
            return square.keeper ? '+' : '.';
        case CellCrateOnTarget:
            return '*';
        default:
            return '?';
    }
}

Rect extentOf(const Level& level) {
    int left = BoardSide + 1, top = BoardSide + 1, right = 0, bottom = 0;
    auto include = [&](int x, int y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    };
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            if (level.board.at(x, y) != CellEmpty) include(x, y);
        }
    }
    if (level.hasKeeper()) include(level.keeperX, level.keeperY);
    if (right == 0) return {};
    return rectBetween(left, top, right + 1, bottom + 1);
}

void placeLevel(GameState& s, const Level& level) {
    s.board = level.board;
    s.keeperX = level.keeperX;
    s.keeperY = level.keeperY;
}

std::optional<std::string> unknownCellProblem(const Board& board) {
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            const std::uint8_t cell = board.at(x, y);
            if (cell != CellEmpty && cell != CellWall && cell != CellCrate && cell != CellTarget &&
                cell != CellCrateOnTarget) {
                return "cell (" + std::to_string(x) + ", " + std::to_string(y) +
                       ") holds the unknown code " + std::to_string(cell);
            }
        }
    }
    return std::nullopt;
}

std::vector<std::string> levelProblems(const Level& level) {
    std::vector<std::string> problems;
    if (const auto unknown = unknownCellProblem(level.board)) problems.push_back(*unknown);
    if (!level.hasKeeper()) {
        problems.push_back("no keeper");
    } else if (!isWalkable(level.board.at(level.keeperX, level.keeperY))) {
        problems.push_back("the keeper stands on a wall or a crate");
    }
    const auto crates = static_cast<std::size_t>(
        std::count_if(level.board.cells.begin(), level.board.cells.end(), holdsCrate));
    const auto targets = static_cast<std::size_t>(std::count_if(
        level.board.cells.begin(), level.board.cells.end(),
        [](std::uint8_t cell) { return cell == CellTarget || cell == CellCrateOnTarget; }));
    if (crates == 0) {
        problems.push_back("no crates");
    } else if (crates != targets) {
        problems.push_back(counted(crates, "crate", "crates") + " but " +
                           counted(targets, "target", "targets"));
    }
    return problems;
}

}  // namespace quarbel
