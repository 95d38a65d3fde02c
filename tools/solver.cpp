#include "tools/solver.h"

#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <climits>
#include <mutex>
#include <queue>
#include <thread>

#include "core/engine.h"
#include "core/level.h"
#include "core/nullfrontend.h"
#include "tools/solverbounds.h"
#include "tools/solverdeadlocks.h"
#include "tools/solverrooms.h"

namespace quarbel {

namespace {

using namespace solving;

// Processor time used by the calling thread, in seconds.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The limits and the watch are looked at once per this many expanded positions.
constexpr std::uint32_t CheckInterval = 1024;

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

class Search {
  public:
    // The open positions are taken in the order of pushes so far plus `weight` times the
    // estimate. A search that packs goal rooms in order pushes a crate that enters a room on to
    // its target in one move.
    Search(const Maze& maze, const SolveLimits& limits, const SearchWatch& watch, int weight,
           bool packRooms)
        : maze_(maze),
          limits_(limits),
          watch_(watch),
          weight_(weight),
          packRooms_(packRooms),
          store_(maze),
          matcher_(maze) {}

    // The pushes of a solution, or nothing.
    std::optional<std::vector<Push>> run(const CrateSet& crates, int keeper);
    std::size_t statesSeen() const { return store_.size(); }
    // Every position the search allows was searched.
    bool finished() const { return finished_; }
    // Every position the pushes can reach was searched: the level cannot be solved.
    bool exhausted() const { return finished_ && !restricted_; }

  private:
    // A stored push whose direction is past the four stands for the pushes that packed a room.
    static constexpr int PackingMark = 4;

    bool withinLimits(double started, std::size_t openBytes) const;
    // The stored pushes with each room packing spelled out.
    std::vector<Push> unpacked(const std::vector<Push>& stored, CrateSet crates);

    const Maze& maze_;
    const SolveLimits& limits_;
    const SearchWatch& watch_;
    const int weight_;
    const bool packRooms_;
    std::optional<RoomPacking> rooms_;
    bool finished_ = false;
    bool restricted_ = false;  // some pushes were left out by packing rooms
    PositionStore store_;
    Matcher matcher_;
    Region region_;       // of the position being expanded
    Region childRegion_;  // of a position one push further
    CorralRule corrals_;
};

bool Search::withinLimits(double started, std::size_t openBytes) const {
    // Positions that one check interval may add at most, so that the memory check looks ahead.
    constexpr std::size_t IntervalRoom = CheckInterval * 4 * 40;
    return store_.size() < limits_.positions && threadSeconds() - started < limits_.seconds &&
           store_.bytesAfterGrowth(IntervalRoom) + openBytes <= limits_.memoryBytes;
}

std::vector<Push> Search::unpacked(const std::vector<Push>& stored, CrateSet crates) {
    std::vector<Push> pushes;
    for (Push push : stored) {
        if (push.direction >= PackingMark) {
            push.direction -= PackingMark;
            const std::vector<Push> packing = *rooms_->packingPushes(crates, push);
            pushes.insert(pushes.end(), packing.begin(), packing.end());
        } else {
            pushes.push_back(push);
        }
        const Push& last = pushes.back();
        crates.clear(push.from);
        crates.set(last.from + Steps[last.direction]);
    }
    return pushes;
}

std::optional<std::vector<Push>> Search::run(const CrateSet& start, int keeper) {
    const double started = threadSeconds();
    if (packRooms_) rooms_.emplace(maze_, keeper);
    // A crate that starts where it can never reach a target makes the level unsolvable.
    std::vector<int> crateList;
    start.forEach([&](int c) { crateList.push_back(c); });
    const int startEstimate = matcher_.match(crateList);
    if (startEstimate == Matcher::Unmatched) {
        finished_ = true;
        return std::nullopt;
    }
    store_.add(start, region_.flood(maze_, start, keeper), 0, {0, 0});
    if (startEstimate == 0) return std::vector<Push>{};

    // Open positions by pushes so far plus the weighed estimate, fewer estimated pushes first
    // among equals; each entry holds that order in its high bits and the node in its low 32.
    // Weighing the estimate gives up shortest solutions for finding one in far fewer positions.
    auto entry = [this](int pushes, int estimate, std::uint32_t node) {
        const auto order = static_cast<std::uint64_t>(pushes + weight_ * estimate) << 16 |
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
        std::vector<Push> pushes = corrals_.pushesWorthTrying(maze_, crates, region_);
        if (rooms_ && rooms_->keepPackedCrates(crates, pushes)) restricted_ = true;
        if (pushes.empty()) continue;
        crateList.clear();
        crates.forEach([&](int c) { crateList.push_back(c); });
        matcher_.match(crateList);
        for (const Push& push : pushes) {
            Push stored = push;
            Push last = push;
            int pushesMade = 1;
            if (auto packing = rooms_ ? rooms_->packingPushes(crates, push) : std::nullopt) {
                if (packing->size() != 1) restricted_ = true;
                if (packing->empty()) continue;
                stored.direction += PackingMark;
                last = packing->back();
                pushesMade = static_cast<int>(packing->size());
            }
            CrateSet child = crates;
            const int to = last.from + Steps[last.direction];
            child.clear(push.from);
            child.set(to);
            if (freezesOffTarget(maze_, child, to)) continue;
            const auto moved = std::lower_bound(crateList.begin(), crateList.end(), push.from);
            const int estimate = matcher_.withMoved(static_cast<int>(moved - crateList.begin()), to,
                                                    opposite(last.direction));
            if (estimate == Matcher::Unmatched) continue;
            if (!store_.add(child, childRegion_.flood(maze_, child, last.from), current, stored))
                continue;
            const auto index = static_cast<std::uint32_t>(store_.size() - 1);
            pushesTo.push_back(static_cast<std::uint16_t>(pushesTo[current] + pushesMade));
            if (estimate == 0) return unpacked(store_.pathTo(index), start);
            open.push(entry(pushesTo[index], estimate, index));
        }
    }
    finished_ = true;
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

// The estimate weighed twice suits most levels; four times finds solutions of some crowded
// ones that the first does not find in time.
constexpr int UsualWeight = 2;
constexpr int EagerWeight = 4;

struct Outcome {
    std::optional<std::vector<Push>> pushes;
    std::size_t statesSeen = 0;
    bool exhausted = false;
};

// A search that packs goal rooms in order first; when it has searched everything it allows
// without an answer, the rooms may need another order, and a search that packs nothing starts
// again in the time and positions left.
Outcome searchLevel(const Maze& maze, const CrateSet& crates, int keeper, const SolveLimits& limits,
                    const SearchWatch& watch, int weight) {
    const double started = threadSeconds();
    SolveLimits rest = limits;
    std::size_t packingSeen = 0;
    {
        Search packing(maze, limits, watch, weight, true);
        auto pushes = packing.run(crates, keeper);
        if (pushes || !packing.finished() || packing.exhausted())
            return {std::move(pushes), packing.statesSeen(), packing.exhausted()};
        packingSeen = packing.statesSeen();
    }
    rest.seconds -= threadSeconds() - started;
    if (rest.positions != SIZE_MAX) rest.positions -= std::min(rest.positions, packingSeen);
    Search search(maze, rest, watch, weight, false);
    auto pushes = search.run(crates, keeper);
    return {std::move(pushes), packingSeen + search.statesSeen(), search.exhausted()};
}

// Two searches of the level side by side, differing only in the weight of the estimate: the
// first answer wins and stops the other. Either one that proves the level unsolvable ends
// both. Only this thread calls `watch`.
Outcome searchOnTwoCores(const Maze& maze, const CrateSet& crates, int keeper,
                         const SolveLimits& limits, const SearchWatch& watch) {
    SolveLimits half = limits;
    half.memoryBytes /= 2;
    std::atomic<bool> over = false;
    const SearchWatch eagerWatch = [&](std::size_t) { return !over; };
    const SearchWatch usualWatch = [&](std::size_t statesSeen) {
        if (watch && !watch(statesSeen)) over = true;
        return !over;
    };
    Outcome eager;
    Outcome usual;
    {
        std::atomic<bool> eagerEnded = false;
        const std::jthread helper([&] {
            eager = searchLevel(maze, crates, keeper, half, eagerWatch, EagerWeight);
            if (eager.pushes || eager.exhausted) over = true;
            eagerEnded = true;
        });
        usual = searchLevel(maze, crates, keeper, half, usualWatch, UsualWeight);
        if (usual.pushes || usual.exhausted) over = true;
        // A search that ran out of time leaves the other its own time, which a busy machine
        // may not have given it yet; the caller's watch is still asked from this thread.
        while (!over && !eagerEnded) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (watch && !watch(usual.statesSeen)) over = true;
        }
    }
    return {usual.pushes ? std::move(usual.pushes) : std::move(eager.pushes),
            usual.statesSeen + eager.statesSeen, usual.exhausted || eager.exhausted};
}

SolverResult solveOn(const Board& board, int keeperX, int keeperY, const SolveLimits& limits,
                     const SearchWatch& watch, bool twoCores) {
    SolverResult result;
    // Only a level that can be played is searched: with more crates than targets, say, a crate
    // may rest anywhere, which the push distances do not allow for.
    const Level level{board, keeperX, keeperY, {}, {}};
    if (!levelProblems(level).empty()) return result;
    const Maze maze = mazeOf(board);
    CrateSet crates = cratesOf(board);
    const int keeper = cellIndex(keeperX, keeperY);

    const Outcome outcome = twoCores
                                ? searchOnTwoCores(maze, crates, keeper, limits, watch)
                                : searchLevel(maze, crates, keeper, limits, watch, UsualWeight);
    const auto& pushes = outcome.pushes;
    result.statesSeen = outcome.statesSeen;
    result.exhausted = outcome.exhausted;
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

}  // namespace

SolverResult solveLevel(const Board& board, int keeperX, int keeperY, const SolveLimits& limits,
                        const SearchWatch& watch) {
    // A search bounded by positions must end the same way every time, which a race between
    // two searches would not.
    const bool twoCores = std::thread::hardware_concurrency() >= 2 && limits.positions == SIZE_MAX;
    return solveOn(board, keeperX, keeperY, limits, watch, twoCores);
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
            results[k] =
                solveOn(level.board, level.keeperX, level.keeperY, limits, watchAll, false);
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
