#include "tools/solvermaze.h"

#include <algorithm>

namespace quarbel::solving {

namespace {

// Pulling a crate backwards from the target finds every square it can be pushed from.
std::array<int, Cells> distancesTo(const Maze& maze, int target) {
    std::array<int, Cells> distance;
    distance.fill(NoDistance);
    distance[target] = 0;
    std::vector<int> queue{target};
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int c = queue[i];
        for (int step : Steps) {
            const int from = c - step;
            const int keeper = from - step;
            if (maze.wall[from] || maze.wall[keeper] || distance[from] != NoDistance) continue;
            distance[from] = distance[c] + 1;
            queue.push_back(from);
        }
    }
    return distance;
}

void computeDistances(Maze& maze) {
    maze.live.fill(-1);
    for (int t : maze.targets)
        maze.distanceTo.push_back(distancesTo(maze, t));
    for (int c = 0; c < Cells; ++c) {
        const bool reachesTarget =
            std::any_of(maze.distanceTo.begin(), maze.distanceTo.end(),
                        [c](const std::array<int, Cells>& d) { return d[c] != NoDistance; });
        if (maze.wall[c] || !reachesTarget) continue;
        maze.live[c] = static_cast<int>(maze.liveCells.size());
        maze.liveCells.push_back(c);
    }
}

}  // namespace

Maze mazeOf(const Board& board) {
    Maze maze;
    maze.wall.fill(true);
    for (int y = 1; y <= BoardSide; ++y) {
        for (int x = 1; x <= BoardSide; ++x) {
            const int c = cellIndex(x, y);
            const std::uint8_t cell = board.at(x, y);
            // Unknown codes can be neither entered nor pushed onto, like walls.
            maze.wall[c] = !isWalkable(cell) && !holdsCrate(cell);
            maze.target[c] = cell == CellTarget || cell == CellCrateOnTarget;
            if (maze.target[c]) maze.targets.push_back(c);
        }
    }
    computeDistances(maze);
    return maze;
}

CrateSet cratesOf(const Board& board) {
    CrateSet crates;
    for (int y = 1; y <= BoardSide; ++y) {
        for (int x = 1; x <= BoardSide; ++x) {
            if (holdsCrate(board.at(x, y))) crates.set(cellIndex(x, y));
        }
    }
    return crates;
}

}  // namespace quarbel::solving
