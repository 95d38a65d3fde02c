#include "solver.h"

#include <algorithm>
#include <array>
#include <queue>

#include "core/engine.h"
#include "core/nullfrontend.h"

namespace quarbel {

namespace {

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

int cellIndex(int x, int y) {
    return y * Side + x;
}

struct CrateSet {
    std::array<std::uint64_t, Words> bits{};

    bool has(int c) const { return (bits[c >> 6] >> (c & 63)) & 1; }
    void set(int c) { bits[c >> 6] |= std::uint64_t{1} << (c & 63); }
    void clear(int c) { bits[c >> 6] &= ~(std::uint64_t{1} << (c & 63)); }
    bool operator==(const CrateSet&) const = default;

    template <typename Visit>
    void forEach(Visit visit) const {
        for (int w = 0; w < Words; ++w) {
            for (std::uint64_t rest = bits[w]; rest != 0; rest &= rest - 1) {
                visit(w * 64 + __builtin_ctzll(rest));
            }
        }
    }
};

struct Node {
    CrateSet crates;
    std::uint32_t parent;
    std::uint16_t keeper;    // the smallest square of the keeper's region
    std::uint16_t pushFrom;  // where the crate pushed last stood
    std::uint8_t direction;  // index into Steps and Directions
};

// What never changes during a search: walls, targets and push distances.
struct Maze {
    std::array<bool, Cells> wall{};
    std::array<bool, Cells> target{};
    // Fewest pushes that bring a crate from a square to some target, ignoring other crates;
    // NoDistance marks a dead square, from which no target can be reached.
    std::array<int, Cells> distance{};
};

void computeDistances(Maze& maze) {
    maze.distance.fill(NoDistance);
    std::vector<int> queue;
    for (int c = 0; c < Cells; ++c) {
        if (maze.target[c]) {
            maze.distance[c] = 0;
            queue.push_back(c);
        }
    }
    // Pulling a crate backwards from the targets finds every square it can be pushed from.
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int c = queue[i];
        for (int step : Steps) {
            const int from = c - step;
            const int keeper = from - step;
            if (maze.wall[from] || maze.wall[keeper] || maze.distance[from] != NoDistance) continue;
            maze.distance[from] = maze.distance[c] + 1;
            queue.push_back(from);
        }
    }
}

class Search {
  public:
    Search(const Maze& maze, std::size_t stateLimit, const SearchWatch& watch)
        : maze_(maze), stateLimit_(stateLimit), watch_(watch) {
        reached_.fill(0);
    }

    // The pushes of a solution as (square the crate left, direction), or nothing.
    std::optional<std::vector<std::pair<int, int>>> run(const CrateSet& crates, int keeper);
    std::size_t statesSeen() const { return nodes_.size(); }
    bool exhausted() const { return exhausted_; }

  private:
    // Marks the keeper's region and returns its smallest square.
    int flood(const CrateSet& crates, int keeper);
    bool reached(int c) const { return reached_[c] == generation_; }
    bool frozen(const CrateSet& crates, CrateSet asWall, int c, bool& offTarget) const;
    int estimate(const CrateSet& crates) const;
    bool add(const Node& node);
    std::size_t slotOf(const Node& node) const;
    void growTable();

    const Maze& maze_;
    std::size_t stateLimit_;
    const SearchWatch& watch_;
    bool exhausted_ = false;
    std::vector<Node> nodes_;
    std::vector<std::uint32_t> table_;  // node index + 1, 0 for an empty slot
    std::array<std::uint32_t, Cells> reached_;
    std::uint32_t generation_ = 0;
    std::vector<int> queue_;
};

int Search::flood(const CrateSet& crates, int keeper) {
    ++generation_;
    queue_.clear();
    queue_.push_back(keeper);
    reached_[keeper] = generation_;
    int smallest = keeper;
    for (std::size_t i = 0; i < queue_.size(); ++i) {
        for (int step : Steps) {
            const int next = queue_[i] + step;
            if (maze_.wall[next] || crates.has(next) || reached(next)) continue;
            reached_[next] = generation_;
            smallest = std::min(smallest, next);
            queue_.push_back(next);
        }
    }
    return smallest;
}

// A crate is frozen when it is blocked along both axes: by a wall, by dead squares on both
// sides, or by a crate that is frozen itself while this one stands still. offTarget tells
// whether any crate of the frozen group is off a target.
bool Search::frozen(const CrateSet& crates, CrateSet asWall, int c, bool& offTarget) const {
    asWall.set(c);
    bool groupOffTarget = !maze_.target[c];
    for (int step : {1, Side}) {
        const int before = c - step;
        const int after = c + step;
        auto blocking = [&](int n) { return maze_.wall[n] || asWall.has(n); };
        if (blocking(before) || blocking(after)) continue;
        if (maze_.distance[before] == NoDistance && maze_.distance[after] == NoDistance) continue;
        bool blocked = false;
        for (int n : {before, after}) {
            bool neighbourOffTarget = false;
            if (crates.has(n) && frozen(crates, asWall, n, neighbourOffTarget)) {
                blocked = true;
                groupOffTarget = groupOffTarget || neighbourOffTarget;
                break;
            }
        }
        if (!blocked) return false;
    }
    offTarget = groupOffTarget;
    return true;
}

int Search::estimate(const CrateSet& crates) const {
    int sum = 0;
    crates.forEach([&](int c) { sum += maze_.distance[c]; });
    return sum;
}

std::size_t Search::slotOf(const Node& node) const {
    std::uint64_t hash = node.keeper * 0x9E3779B97F4A7C15ull;
    for (std::uint64_t word : node.crates.bits) {
        hash = (hash ^ word) * 0xBF58476D1CE4E5B9ull;
        hash ^= hash >> 31;
    }
    return static_cast<std::size_t>(hash) & (table_.size() - 1);
}

void Search::growTable() {
    table_.assign(table_.empty() ? 1 << 16 : table_.size() * 2, 0);
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        std::size_t slot = slotOf(nodes_[i]);
        while (table_[slot] != 0)
            slot = (slot + 1) & (table_.size() - 1);
        table_[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

// Keeps the node unless its position was seen before.
bool Search::add(const Node& node) {
    if (nodes_.size() * 2 >= table_.size()) growTable();
    std::size_t slot = slotOf(node);
    while (table_[slot] != 0) {
        const Node& other = nodes_[table_[slot] - 1];
        if (other.keeper == node.keeper && other.crates == node.crates) return false;
        slot = (slot + 1) & (table_.size() - 1);
    }
    nodes_.push_back(node);
    table_[slot] = static_cast<std::uint32_t>(nodes_.size());
    return true;
}

std::optional<std::vector<std::pair<int, int>>> Search::run(const CrateSet& start, int keeper) {
    struct Entry {
        int cost;  // pushes so far plus the estimate
        int estimate;
        std::uint32_t node;
        bool operator<(const Entry& other) const {
            return cost != other.cost ? cost > other.cost : estimate > other.estimate;
        }
    };
    std::priority_queue<Entry> open;
    std::vector<int> pushesTo;  // pushes from the start, per node

    auto pathTo = [&](std::uint32_t node) {
        std::vector<std::pair<int, int>> pushes;
        for (; node != 0; node = nodes_[node].parent) {
            pushes.emplace_back(nodes_[node].pushFrom, nodes_[node].direction);
        }
        std::reverse(pushes.begin(), pushes.end());
        return pushes;
    };

    add({start, 0, static_cast<std::uint16_t>(flood(start, keeper)), 0, 0});
    pushesTo.push_back(0);
    // A crate that starts where it can never reach a target makes the level unsolvable; its
    // distance would also spoil the estimate, which counts only reachable squares.
    bool stuck = false;
    start.forEach([&](int c) { stuck = stuck || maze_.distance[c] == NoDistance; });
    if (stuck) {
        exhausted_ = true;
        return std::nullopt;
    }
    const int startEstimate = estimate(start);
    if (startEstimate == 0) return std::vector<std::pair<int, int>>{};
    open.push({startEstimate, startEstimate, 0});

    // The watch is asked once per this many expanded positions.
    constexpr std::uint32_t WatchInterval = 1024;
    for (std::uint32_t expanded = 1; !open.empty() && nodes_.size() < stateLimit_; ++expanded) {
        if (watch_ && expanded % WatchInterval == 0 && !watch_(nodes_.size())) {
            return std::nullopt;
        }
        const std::uint32_t current = open.top().node;
        open.pop();
        const CrateSet crates = nodes_[current].crates;
        flood(crates, nodes_[current].keeper);
        std::vector<std::pair<int, int>> moves;
        crates.forEach([&](int c) {
            for (int d = 0; d < 4; ++d) {
                const int to = c + Steps[d];
                if (!reached(c - Steps[d]) || maze_.wall[to] || crates.has(to)) continue;
                if (maze_.distance[to] == NoDistance) continue;
                moves.emplace_back(c, d);
            }
        });
        for (const auto& [from, d] : moves) {
            Node child{crates, current, 0, static_cast<std::uint16_t>(from),
                       static_cast<std::uint8_t>(d)};
            const int to = from + Steps[d];
            child.crates.clear(from);
            child.crates.set(to);
            bool offTarget = false;
            if (frozen(child.crates, CrateSet{}, to, offTarget) && offTarget) continue;
            child.keeper = static_cast<std::uint16_t>(flood(child.crates, from));
            if (!add(child)) continue;
            const auto index = static_cast<std::uint32_t>(nodes_.size() - 1);
            pushesTo.push_back(pushesTo[current] + 1);
            const int childEstimate = estimate(child.crates);
            if (childEstimate == 0) return pathTo(index);
            open.push({pushesTo[index] + childEstimate, childEstimate, index});
        }
    }
    exhausted_ = open.empty();
    return std::nullopt;
}

// The keeper's shortest walk from one square to another between the crates, as history
// codes; empty when the squares are the same.
std::vector<std::uint16_t> walkBetween(const Maze& maze, const CrateSet& crates, int from, int to) {
    std::array<int, Cells> cameBy;
    cameBy.fill(-1);
    std::vector<int> queue{from};
    cameBy[from] = 0;
    for (std::size_t i = 0; i < queue.size() && cameBy[to] < 0; ++i) {
        for (int d = 0; d < 4; ++d) {
            const int next = queue[i] + Steps[d];
            if (maze.wall[next] || crates.has(next) || cameBy[next] >= 0) continue;
            cameBy[next] = d;
            queue.push_back(next);
        }
    }
    std::vector<std::uint16_t> codes;
    for (int c = to; c != from; c -= Steps[cameBy[c]]) {
        codes.push_back(static_cast<std::uint16_t>(Directions[cameBy[c]].walkCode));
    }
    std::reverse(codes.begin(), codes.end());
    return codes;
}

}  // namespace

SolverResult solveLevel(const Board& board, int keeperX, int keeperY, std::size_t stateLimit,
                        const SearchWatch& watch) {
    Maze maze;
    maze.wall.fill(true);
    CrateSet crates;
    int crateCount = 0;
    int targetCount = 0;
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            const int c = cellIndex(x, y);
            const std::uint8_t cell = board.at(x, y);
            // Unknown codes can be neither entered nor pushed onto, like walls.
            maze.wall[c] = !isWalkable(cell) && !holdsCrate(cell);
            maze.target[c] = cell == CellTarget || cell == CellCrateOnTarget;
            if (holdsCrate(cell)) crates.set(c);
            crateCount += holdsCrate(cell);
            targetCount += maze.target[c];
        }
    }
    SolverResult result;
    // With more crates than targets a crate may rest anywhere, which the push distances do
    // not allow for; such levels are not searched.
    if (!onBoard(keeperX, keeperY) || crateCount != targetCount) return result;
    const int keeper = cellIndex(keeperX, keeperY);
    if (maze.wall[keeper] || crates.has(keeper)) return result;
    computeDistances(maze);

    Search search(maze, stateLimit, watch);
    const auto pushes = search.run(crates, keeper);
    result.statesSeen = search.statesSeen();
    result.exhausted = search.exhausted();
    if (!pushes) return result;

    std::vector<std::uint16_t> moves;
    int at = keeper;
    for (const auto& [from, d] : *pushes) {
        const auto walk = walkBetween(maze, crates, at, from - Steps[d]);
        moves.insert(moves.end(), walk.begin(), walk.end());
        moves.push_back(static_cast<std::uint16_t>(Directions[d].pushCode()));
        crates.clear(from);
        crates.set(from + Steps[d]);
        at = from;
    }
    result.moves = std::move(moves);
    result.pushes = static_cast<int>(pushes->size());
    return result;
}

bool replaySolves(const Board& board, int keeperX, int keeperY,
                  std::span<const std::uint16_t> moves) {
    GameState state;
    state.board = board;
    state.keeperX = keeperX;
    state.keeperY = keeperY;
    NullFrontend ui;
    for (std::uint16_t code : moves) {
        const int before = state.historyTop;
        stepKeeper(state, ui, keyForCode(code));
        if (state.historyTop != before + 1 || state.history[before] != code) return false;
    }
    return levelSolved(state.board);
}

}  // namespace quarbel
