// The walk finder behind mouse walking: a best-first search over the free squares.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "core/gamestate.h"

namespace quarbel {

// One square the search has reached.
struct PathNode {
    std::int32_t f = 0;  // g + h; orders the open list
    std::int32_t h = 0;  // squared straight-line distance to the target
    std::int32_t g = 0;  // steps from the start along the parent links
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t key = 0;  // x + 15 * y
    PathNode* parent = nullptr;
    PathNode* next = nullptr;  // in the open list
    // The neighbours recorded when this node was expanded, in the order they were looked
    // at; a square has four neighbours, so four slots always suffice.
    std::array<PathNode*, 4> successors{};
    std::uint8_t successorCount = 0;

    std::span<PathNode* const> recordedSuccessors() const {
        return {successors.data(), successorCount};
    }
};

class PathFinder {
  public:
    PathFinder();
    PathFinder(const PathFinder&) = delete;
    PathFinder& operator=(const PathFinder&) = delete;

    // The squares a keeper may walk onto are passable, everything else blocks; the keeper's
    // own square is passable whatever it holds.
    void buildPassGrid(const GameState& s);
    bool passable(int x, int y) const;

    // The node of the target square, whose parent links lead back to the start, or nullptr
    // when the target cannot be reached. Valid until the next search.
    const PathNode* findPath(int startX, int startY, int targetX, int targetY);

  private:
    void handleSuccessor(PathNode& p, int x, int y, int targetX, int targetY);
    PathNode* newNode(int x, int y, int targetX, int targetY);
    void insertOpen(PathNode& node);
    void passOnLoweredCost(PathNode& q);
    // Lowers t's cost when reaching it through r is cheaper; returns whether it did.
    static bool lowerThrough(PathNode& r, PathNode& t);

    // Row by row: square (x, y) is element 15 * (y - 1) + (x - 1).
    std::array<std::uint8_t, BoardCells> passGrid{};
    // Every square becomes a node at most once, so one pool serves every search.
    std::array<PathNode, BoardCells> pool;
    int nodesUsed = 0;
    std::array<PathNode*, BoardCells> nodeOfSquare{};  // by grid index
    PathNode* open = nullptr;                          // nodes waiting to be expanded
    std::vector<PathNode*> stack;  // nodes whose lowered cost is still to be passed on
};

// The square of the first step of a found walk; the start square itself when the walk is
// the start node alone.
std::pair<int, int> firstStep(const PathNode& target);

}  // namespace quarbel
