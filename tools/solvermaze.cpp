#include "tools/solvermaze.h"

#include <algorithm>

namespace quarbel::solving {

namespace {

// For each square and side, which part of the floor the keeper beside a crate there is in
// when the crate is the only thing in the way besides the walls: two sides with the same
// number are joined round the crate. -1 for a side that is wall. Indexed by square * 4 + side.
// Only the floor joined to the targets counts: a crate never stands anywhere else, and the
// board round a small level may hold a large area of floor that nothing reaches.
std::vector<int> sidePartsOf(const Maze& maze) {
    std::vector<int> part(Cells * 4, -1);
    std::array<bool, Cells> joined{};
    std::vector<int> queue(maze.targets);
    for (int t : maze.targets)
        joined[t] = true;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        for (int step : Steps) {
            const int next = queue[i] + step;
            if (maze.wall[next] || joined[next]) continue;
            joined[next] = true;
            queue.push_back(next);
        }
    }
    std::array<int, Cells> seenFrom;
    seenFrom.fill(-1);
    int parts = 0;
    for (int c = 0; c < Cells; ++c) {
        if (!joined[c]) continue;
        for (int side = 0; side < 4; ++side) {
            const int start = c + Steps[side];
            if (maze.wall[start] || part[c * 4 + side] >= 0) continue;
            // Flood from this side around the crate; every side it reaches shares the part.
            const int id = parts++;
            queue.assign(1, start);
            seenFrom[start] = id;
            for (std::size_t i = 0; i < queue.size(); ++i) {
                for (int step : Steps) {
                    const int next = queue[i] + step;
                    if (maze.wall[next] || next == c || seenFrom[next] == id) continue;
                    seenFrom[next] = id;
                    queue.push_back(next);
                }
            }
            for (int other = 0; other < 4; ++other) {
                if (seenFrom[c + Steps[other]] == id) part[c * 4 + other] = id;
            }
        }
    }
    return part;
}

// Going backwards from the target finds every square and keeper side a crate can be moved
// there from. A push leaves the keeper on the side the crate came from, a pull on the side
// it went to, and before the move the keeper may have stood on any side of the crate joined
// to the one it moved from.
std::vector<int> distancesTo(const Maze& maze, const std::vector<int>& sideParts, int target,
                             Moves moves) {
    std::vector<int> distance(Cells * 4, NoDistance);
    std::vector<int> queue;
    for (int side = 0; side < 4; ++side) {
        if (sideParts[target * 4 + side] < 0) continue;
        distance[target * 4 + side] = 0;
        queue.push_back(target * 4 + side);
    }
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int crate = queue[i] / 4;
        const int side = queue[i] % 4;
        // Where the crate and the keeper stood before the move: the keeper on the same side.
        const int from = moves == Moves::Pushes ? crate + Steps[side] : crate - Steps[side];
        const int keeper = from + Steps[side];
        if (maze.wall[from] || maze.wall[keeper]) continue;
        const int pushingPart = sideParts[from * 4 + side];
        for (int before = 0; before < 4; ++before) {
            const int state = from * 4 + before;
            if (sideParts[state] != pushingPart || distance[state] != NoDistance) continue;
            distance[state] = distance[queue[i]] + 1;
            queue.push_back(state);
        }
    }
    return distance;
}

void computeDistances(Maze& maze, Moves moves) {
    maze.live.fill(-1);
    const std::vector<int> sideParts = sidePartsOf(maze);
    for (int t : maze.targets) {
        maze.sideDistanceTo.push_back(distancesTo(maze, sideParts, t, moves));
        const std::vector<int>& bySide = maze.sideDistanceTo.back();
        std::array<int, Cells>& best = maze.distanceTo.emplace_back();
        for (int c = 0; c < Cells; ++c) {
            best[c] = NoDistance;
            for (int side = 0; side < 4; ++side) {
                const int d = bySide[c * 4 + side];
                if (d != NoDistance && (best[c] == NoDistance || d < best[c])) best[c] = d;
            }
        }
    }
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
    computeDistances(maze, Moves::Pushes);
    return maze;
}

Maze pullMazeOf(const Maze& maze, const CrateSet& start) {
    Maze pulls;
    pulls.wall = maze.wall;
    start.forEach([&](int c) {
        pulls.target[c] = true;
        pulls.targets.push_back(c);
    });
    computeDistances(pulls, Moves::Pulls);
    return pulls;
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
