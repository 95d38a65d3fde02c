#include "tools/solver.h"

#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <mutex>
#include <queue>
#include <thread>

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

// What never changes during a search: walls, targets, the squares a crate may stand on and
// the push distances to each target.
struct Maze {
    std::array<bool, Cells> wall{};
    std::array<bool, Cells> target{};
    std::vector<int> targets;
    // Fewest pushes that bring a crate from a square to one target, ignoring other crates;
    // NoDistance where that target cannot be reached.
    std::vector<std::array<int, Cells>> distanceTo;
    // A crate may stand only where some target can be reached: those squares are numbered
    // from 0 and a position stores one bit per numbered square. -1 marks a dead square.
    std::array<int, Cells> live{};
    std::vector<int> liveCells;

    bool dead(int c) const { return live[c] < 0; }
    int words() const { return static_cast<int>(liveCells.size() + 63) / 64; }
};

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

// The smallest total of push distances that brings every crate to a target of its own, by the
// Hungarian method; Unmatched when some crate cannot be given a target it can reach.
class Matcher {
  public:
    static constexpr int Unmatched = INT_MAX;

    explicit Matcher(const Maze& maze) : maze_(maze) {}

    int lowerBound(const std::vector<int>& crates) {
        const int n = static_cast<int>(crates.size());
        // An unreachable pair costs more than any sum of real distances.
        constexpr int Far = 1 << 20;
        cost_.assign(static_cast<std::size_t>(n * n), Far);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                const int d = maze_.distanceTo[j][crates[i]];
                if (d != NoDistance) cost_[i * n + j] = d;
            }
        }
        // Shortest augmenting paths with row and column potentials; index 0 is a sentinel.
        rowPotential_.assign(n + 1, 0);
        columnPotential_.assign(n + 1, 0);
        rowOf_.assign(n + 1, 0);
        way_.assign(n + 1, 0);
        for (int i = 1; i <= n; ++i) {
            rowOf_[0] = i;
            int column = 0;
            slack_.assign(n + 1, INT_MAX);
            used_.assign(n + 1, false);
            do {
                used_[column] = true;
                const int row = rowOf_[column];
                int delta = INT_MAX;
                int next = 0;
                for (int j = 1; j <= n; ++j) {
                    if (used_[j]) continue;
                    const int reduced =
                        cost_[(row - 1) * n + j - 1] - rowPotential_[row] - columnPotential_[j];
                    if (reduced < slack_[j]) {
                        slack_[j] = reduced;
                        way_[j] = column;
                    }
                    if (slack_[j] < delta) {
                        delta = slack_[j];
                        next = j;
                    }
                }
                for (int j = 0; j <= n; ++j) {
                    if (used_[j]) {
                        rowPotential_[rowOf_[j]] += delta;
                        columnPotential_[j] -= delta;
                    } else {
                        slack_[j] -= delta;
                    }
                }
                column = next;
            } while (rowOf_[column] != 0);
            do {
                const int previous = way_[column];
                rowOf_[column] = rowOf_[previous];
                column = previous;
            } while (column != 0);
        }
        int total = 0;
        for (int j = 1; j <= n; ++j) {
            const int pair = cost_[(rowOf_[j] - 1) * n + j - 1];
            if (pair >= Far) return Unmatched;
            total += pair;
        }
        return total;
    }

  private:
    const Maze& maze_;
    std::vector<int> cost_, rowPotential_, columnPotential_, rowOf_, way_, slack_;
    std::vector<bool> used_;
};

// Processor time used by the calling thread, in seconds.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The limits and the watch are looked at once per this many expanded positions.
constexpr std::uint32_t CheckInterval = 1024;

// One push: the square the crate left and the direction.
struct Push {
    int from;
    int direction;
};

// Every position found so far, stored compactly: one bit per live square for the crates, the
// smallest square of the keeper's region, and the push that led there from its parent.
class PositionStore {
  public:
    explicit PositionStore(const Maze& maze) : maze_(maze), words_(maze.words()) {}

    std::size_t size() const { return links_.size(); }

    // Keeps the position unless it was seen before; true when it is new.
    bool add(const CrateSet& crates, int keeper, std::uint32_t parent, Push push) {
        if (links_.size() * 2 >= table_.size()) growTable();
        const std::size_t first = packed_.size();
        pack(crates);
        const auto keeperSquare = static_cast<std::uint16_t>(keeper);
        std::size_t slot = slotOf(&packed_[first], keeperSquare);
        while (table_[slot] != 0) {
            const std::uint32_t other = table_[slot] - 1;
            if (links_[other].keeper == keeperSquare &&
                std::equal(packed_.begin() + first, packed_.end(), keyOf(other))) {
                packed_.resize(first);
                return false;
            }
            slot = (slot + 1) & (table_.size() - 1);
        }
        links_.push_back({parent, keeperSquare, static_cast<std::uint16_t>(push.from),
                          static_cast<std::uint8_t>(push.direction)});
        table_[slot] = static_cast<std::uint32_t>(links_.size());
        return true;
    }

    CrateSet crates(std::uint32_t node) const {
        CrateSet crates;
        const auto* key = keyOf(node);
        for (int w = 0; w < words_; ++w) {
            for (std::uint64_t rest = key[w]; rest != 0; rest &= rest - 1)
                crates.set(maze_.liveCells[w * 64 + __builtin_ctzll(rest)]);
        }
        return crates;
    }
    int keeper(std::uint32_t node) const { return links_[node].keeper; }

    // The pushes from the start to the node.
    std::vector<Push> pathTo(std::uint32_t node) const {
        std::vector<Push> pushes;
        for (; node != 0; node = links_[node].parent)
            pushes.push_back({links_[node].pushFrom, links_[node].direction});
        std::reverse(pushes.begin(), pushes.end());
        return pushes;
    }

    // Bytes held, and those that the next growth of any part would add.
    std::size_t bytesAfterGrowth(std::size_t room) const {
        auto grown = [room](const auto& v) {
            const std::size_t bytes = v.capacity() * sizeof(v[0]);
            return v.size() + room > v.capacity() ? 3 * bytes : bytes;
        };
        return grown(packed_) + grown(links_) + 3 * table_.size() * sizeof(table_[0]);
    }

  private:
    struct Link {
        std::uint32_t parent;
        std::uint16_t keeper;
        std::uint16_t pushFrom;
        std::uint8_t direction;
    };

    const std::uint64_t* keyOf(std::uint32_t node) const {
        return &packed_[static_cast<std::size_t>(node) * words_];
    }

    void pack(const CrateSet& crates) {
        const std::size_t first = packed_.size();
        packed_.resize(first + words_, 0);
        crates.forEach([&](int c) {
            const int bit = maze_.live[c];
            packed_[first + bit / 64] |= std::uint64_t{1} << (bit % 64);
        });
    }

    std::size_t slotOf(const std::uint64_t* key, std::uint16_t keeper) const {
        std::uint64_t hash = keeper * 0x9E3779B97F4A7C15ull;
        for (int w = 0; w < words_; ++w) {
            hash = (hash ^ key[w]) * 0xBF58476D1CE4E5B9ull;
            hash ^= hash >> 31;
        }
        return static_cast<std::size_t>(hash) & (table_.size() - 1);
    }

    void growTable() {
        table_.assign(table_.empty() ? 1 << 16 : table_.size() * 2, 0);
        for (std::size_t i = 0; i < links_.size(); ++i) {
            std::size_t slot = slotOf(keyOf(static_cast<std::uint32_t>(i)), links_[i].keeper);
            while (table_[slot] != 0)
                slot = (slot + 1) & (table_.size() - 1);
            table_[slot] = static_cast<std::uint32_t>(i + 1);
        }
    }

    const Maze& maze_;
    const int words_;
    std::vector<std::uint64_t> packed_;
    std::vector<Link> links_;
    std::vector<std::uint32_t> table_;  // node index + 1, 0 for an empty slot
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

class Search {
  public:
    Search(const Maze& maze, const SolveLimits& limits, const SearchWatch& watch)
        : maze_(maze), limits_(limits), watch_(watch), store_(maze), matcher_(maze) {}

    // The pushes of a solution, or nothing.
    std::optional<std::vector<Push>> run(const CrateSet& crates, int keeper);
    std::size_t statesSeen() const { return store_.size(); }
    bool exhausted() const { return exhausted_; }

  private:
    bool reached(int c) const { return region_.has(c); }
    bool frozen(const CrateSet& crates, CrateSet asWall, int c, bool& offTarget) const;
    std::vector<Push> pushesWorthTrying(const CrateSet& crates);
    bool withinLimits(double started, std::size_t openBytes) const;

    const Maze& maze_;
    const SolveLimits& limits_;
    const SearchWatch& watch_;
    bool exhausted_ = false;
    PositionStore store_;
    Matcher matcher_;
    Region region_;       // of the position being expanded
    Region childRegion_;  // of a position one push further
    std::array<int, Cells> corralOf_{};
};

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
        if (maze_.dead(before) && maze_.dead(after)) continue;
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

// The pushes the keeper can make from its region, onto live squares.
//
// A corral is a group of crates and the empty squares they shut the keeper out of, joined
// side by side. A corral that must change (a crate of it is off a target, or a target in it
// is empty) changes only by a push of one of its own crates, and every such push that will
// ever be possible is possible now: nothing outside the corral can open another side of its
// crates. When every push of a corral's crates leads into the corral, such a push disturbs
// nothing outside it, so it can be made before any other push of a solution: only these
// pushes need trying. A corral that must change and has no push is a deadlock: the result
// is empty.
std::vector<Push> Search::pushesWorthTrying(const CrateSet& crates) {
    std::vector<Push> pushes;
    crates.forEach([&](int c) {
        for (int d = 0; d < 4; ++d) {
            const int to = c + Steps[d];
            if (!reached(c - Steps[d]) || maze_.wall[to] || crates.has(to) || maze_.dead(to))
                continue;
            pushes.push_back({c, d});
        }
    });

    corralOf_.fill(-1);
    struct Corral {
        bool mustChange = false;
        bool inward = true;
        int pushes = 0;
    };
    std::vector<Corral> corrals;
    std::vector<int> queue;
    crates.forEach([&](int start) {
        if (corralOf_[start] >= 0) return;
        const int id = static_cast<int>(corrals.size());
        Corral corral;
        queue.assign(1, start);
        corralOf_[start] = id;
        for (std::size_t i = 0; i < queue.size(); ++i) {
            const int c = queue[i];
            corral.mustChange = corral.mustChange || (crates.has(c) != maze_.target[c]);
            for (int step : Steps) {
                const int n = c + step;
                if (maze_.wall[n] || reached(n) || corralOf_[n] >= 0) continue;
                corralOf_[n] = id;
                queue.push_back(n);
            }
        }
        corrals.push_back(corral);
    });
    for (const Push& push : pushes) {
        Corral& corral = corrals[corralOf_[push.from]];
        ++corral.pushes;
        corral.inward = corral.inward && !reached(push.from + Steps[push.direction]);
    }
    int chosen = -1;
    for (int id = 0; id < static_cast<int>(corrals.size()); ++id) {
        const Corral& corral = corrals[id];
        if (!corral.mustChange) continue;
        if (corral.pushes == 0) return {};
        if (corral.inward && (chosen < 0 || corral.pushes < corrals[chosen].pushes)) chosen = id;
    }
    if (chosen >= 0) {
        std::erase_if(pushes, [&](const Push& push) { return corralOf_[push.from] != chosen; });
    }
    return pushes;
}

bool Search::withinLimits(double started, std::size_t openBytes) const {
    // Positions that one check interval may add at most, so that the memory check looks ahead.
    constexpr std::size_t IntervalRoom = CheckInterval * 4 * 40;
    return store_.size() < limits_.positions && threadSeconds() - started < limits_.seconds &&
           store_.bytesAfterGrowth(IntervalRoom) + openBytes <= limits_.memoryBytes;
}

std::optional<std::vector<Push>> Search::run(const CrateSet& start, int keeper) {
    const double started = threadSeconds();
    // A crate that starts where it can never reach a target makes the level unsolvable.
    std::vector<int> crateList;
    start.forEach([&](int c) { crateList.push_back(c); });
    const int startEstimate = matcher_.lowerBound(crateList);
    if (startEstimate == Matcher::Unmatched) {
        exhausted_ = true;
        return std::nullopt;
    }
    store_.add(start, region_.flood(maze_, start, keeper), 0, {0, 0});
    if (startEstimate == 0) return std::vector<Push>{};

    // Open positions by pushes so far plus twice the estimate, fewer estimated pushes first
    // among equals; each entry holds that order in its high bits and the node in its low 32.
    // Weighing the estimate gives up shortest solutions for finding one in far fewer positions.
    auto entry = [](int pushes, int estimate, std::uint32_t node) {
        const auto order = static_cast<std::uint64_t>(pushes + 2 * estimate) << 16 |
                           static_cast<std::uint64_t>(std::min(estimate, 0xFFFF));
        return order << 32 | node;
    };
    std::priority_queue<std::uint64_t, std::vector<std::uint64_t>, std::greater<>> open;
    std::vector<std::uint16_t> pushesTo{0};  // pushes from the start, per node
    open.push(entry(0, startEstimate, 0));

    for (std::uint32_t expanded = 1; !open.empty(); ++expanded) {
        if (expanded % CheckInterval == 0) {
            // A growing array briefly holds its old and its new storage.
            const std::size_t openBytes = (open.size() + pushesTo.capacity()) * 3 *
                                          (sizeof(std::uint64_t) + sizeof(pushesTo[0]));
            if (!withinLimits(started, openBytes)) return std::nullopt;
            if (watch_ && !watch_(store_.size())) return std::nullopt;
        }
        const auto current = static_cast<std::uint32_t>(open.top());
        open.pop();
        const CrateSet crates = store_.crates(current);
        region_.flood(maze_, crates, store_.keeper(current));
        for (const Push& push : pushesWorthTrying(crates)) {
            CrateSet child = crates;
            const int to = push.from + Steps[push.direction];
            child.clear(push.from);
            child.set(to);
            bool offTarget = false;
            if (frozen(child, CrateSet{}, to, offTarget) && offTarget) continue;
            crateList.clear();
            child.forEach([&](int c) { crateList.push_back(c); });
            const int estimate = matcher_.lowerBound(crateList);
            if (estimate == Matcher::Unmatched) continue;
            if (!store_.add(child, childRegion_.flood(maze_, child, push.from), current, push))
                continue;
            const auto index = static_cast<std::uint32_t>(store_.size() - 1);
            pushesTo.push_back(static_cast<std::uint16_t>(pushesTo[current] + 1));
            if (estimate == 0) return store_.pathTo(index);
            open.push(entry(pushesTo[index], estimate, index));
        }
    }
    exhausted_ = true;
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

SolverResult solveLevel(const Board& board, int keeperX, int keeperY, const SolveLimits& limits,
                        const SearchWatch& watch) {
    Maze maze;
    maze.wall.fill(true);
    CrateSet crates;
    int crateCount = 0;
    for (int y = 1; y <= BoardSide; ++y) {
        for (int x = 1; x <= BoardSide; ++x) {
            const int c = cellIndex(x, y);
            const std::uint8_t cell = board.at(x, y);
            // Unknown codes can be neither entered nor pushed onto, like walls.
            maze.wall[c] = !isWalkable(cell) && !holdsCrate(cell);
            maze.target[c] = cell == CellTarget || cell == CellCrateOnTarget;
            if (maze.target[c]) maze.targets.push_back(c);
            if (holdsCrate(cell)) crates.set(c);
            crateCount += holdsCrate(cell);
        }
    }
    SolverResult result;
    // With more crates than targets a crate may rest anywhere, which the push distances do
    // not allow for; such levels are not searched.
    if (!onBoard(keeperX, keeperY) || crateCount != static_cast<int>(maze.targets.size()))
        return result;
    const int keeper = cellIndex(keeperX, keeperY);
    if (maze.wall[keeper] || crates.has(keeper)) return result;
    computeDistances(maze);

    Search search(maze, limits, watch);
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

std::vector<SolverResult> solveLevels(std::span<const LevelToSolve> levels,
                                      const SolveLimits& limits, const SearchWatch& watch) {
    std::vector<SolverResult> results(levels.size());
    std::atomic<std::size_t> next = 0;
    std::atomic<bool> stopped = false;
    const SearchWatch watchAll = [&](std::size_t statesSeen) {
        if (watch && !watch(statesSeen)) stopped = true;
        return !stopped;
    };
    auto work = [&] {
        for (std::size_t k = next++; k < levels.size() && !stopped; k = next++) {
            const LevelToSolve& level = levels[k];
            results[k] = solveLevel(level.board, level.keeperX, level.keeperY, limits, watchAll);
        }
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < std::min(cores, levels.size()); ++t)
        helpers.emplace_back(work);
    work();
    return results;
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
