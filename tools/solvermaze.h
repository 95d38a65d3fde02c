// What the solver knows of a level that never changes during a search (walls, targets, the
// squares a crate may stand on, push distances), and the positions it searches: crate sets,
// pushes and the keeper's region.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/direction.h"
#include "core/gamestate.h"

namespace quarbel::solving {

// The board with a ring of wall round it, so that no neighbour lookup leaves the array.
constexpr int Side = BoardSide + 2;
constexpr int Cells = Side * Side;
constexpr int Words = (Cells + 63) / 64;
constexpr int NoDistance = -1;
// The index offset of a step in each direction, in walk-code order: Steps[d] goes the way of
// Directions[d].
constexpr std::array<int, 4> Steps = [] {
    std::array<int, 4> steps{};
    for (std::size_t d = 0; d < Directions.size(); ++d)
        steps[d] = Directions[d].dx + Directions[d].dy * Side;
    return steps;
}();

// The direction back along a step: directions come in pairs of opposites.
constexpr int opposite(int direction) {
    return direction ^ 1;
}
static_assert([] {
    for (int d = 0; d < 4; ++d) {
        if (Steps[opposite(d)] != -Steps[d]) return false;
    }
    return true;
}());

inline int cellIndex(int x, int y) {
    return y * Side + x;
}

struct CrateSet {
    std::array<std::uint64_t, Words> bits{};

    bool has(int c) const { return (bits[c >> 6] >> (c & 63)) & 1; }
    void set(int c) { bits[c >> 6] |= std::uint64_t{1} << (c & 63); }
    void clear(int c) { bits[c >> 6] &= ~(std::uint64_t{1} << (c & 63)); }
    bool operator==(const CrateSet&) const = default;
    int count() const {
        int crates = 0;
        for (std::uint64_t word : bits)
            crates += __builtin_popcountll(word);
        return crates;
    }

    template <typename Visit>
    void forEach(Visit visit) const {
        for (int w = 0; w < Words; ++w) {
            for (std::uint64_t rest = bits[w]; rest != 0; rest &= rest - 1) {
                visit(w * 64 + __builtin_ctzll(rest));
            }
        }
    }
};

// What never changes during a search: walls, targets, the squares a crate may stand on and
// the push distances to each target.
struct Maze {
    std::array<bool, Cells> wall{};
    std::array<bool, Cells> target{};
    std::vector<int> targets;
    // Fewest pushes that bring a crate from a square to one target, ignoring other crates,
    // with the keeper beside the crate on a given side (the direction from the crate to the
    // keeper) and walking round it only where the walls and the crate itself let it: a crate
    // pushed into a nook the keeper cannot get behind goes no further. NoDistance where that
    // target cannot be reached. Indexed by square * 4 + side.
    std::vector<std::vector<int>> sideDistanceTo;
    // The same from the keeper's best side, for a crate whose keeper side is not known.
    std::vector<std::array<int, Cells>> distanceTo;
    // A crate may stand only where some target can be reached: those squares are numbered
    // from 0 and a position stores one bit per numbered square. -1 marks a dead square.
    std::array<int, Cells> live{};
    std::vector<int> liveCells;

    bool dead(int c) const { return live[c] < 0; }
    int words() const { return static_cast<int>(liveCells.size() + 63) / 64; }
};

enum class Moves { Pushes, Pulls };

// The level's walls, targets and distances; unknown codes count as walls.
Maze mazeOf(const Board& board);
// For a search backwards from the solved position: the same walls, the squares the crates
// start on as targets, and distances by pulls.
Maze pullMazeOf(const Maze& maze, const CrateSet& start);
CrateSet cratesOf(const Board& board);

// One push: the square the crate left and the direction.
struct Push {
    int from;
    int direction;
};

// The squares the keeper can walk to, marked anew for each position.
class Region {
  public:
    Region() { mark_.fill(0); }

    // Marks the keeper's region and returns its smallest square.
    int flood(const Maze& maze, const CrateSet& crates, int keeper) {
        ++generation_;
        queue_.clear();
        queue_.push_back(keeper);
        mark_[keeper] = generation_;
        int smallest = keeper;
        for (std::size_t i = 0; i < queue_.size(); ++i) {
            for (int step : Steps) {
                const int next = queue_[i] + step;
                if (maze.wall[next] || crates.has(next) || has(next)) continue;
                mark_[next] = generation_;
                smallest = std::min(smallest, next);
                queue_.push_back(next);
            }
        }
        return smallest;
    }
    bool has(int c) const { return mark_[c] == generation_; }

  private:
    std::array<std::uint32_t, Cells> mark_;
    std::uint32_t generation_ = 0;
    std::vector<int> queue_;
};

}  // namespace quarbel::solving
