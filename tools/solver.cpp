#include "tools/solver.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/engine.h"
#include "core/level.h"
#include "core/nullfrontend.h"
#include "tools/solverbounds.h"
#include "tools/solverdeadlocks.h"
#include "tools/solverpulls.h"
#include "tools/solverrooms.h"
#include "tools/solverstore.h"

namespace quarbel {

namespace {

using namespace solving;

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

    // The stored pushes with each room packing spelled out.
    std::vector<Push> unpacked(const std::vector<Push>& stored, CrateSet crates);

    const Maze& maze_;
    // Copies: a caller may hand a search its limits and watch as temporaries.
    const SolveLimits limits_;
    const SearchWatch watch_;
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
    Budget budget(limits_, watch_);
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
    OpenPositions open(weight_);
    open.add(0, 0, startEstimate);

    while (!open.empty()) {
        if (!budget.allows(store_, open)) return std::nullopt;
        const std::uint32_t current = open.take();
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
            if (estimate == 0) return unpacked(store_.pathTo(index), start);
            open.add(index, open.movesTo(current) + pushesMade, estimate);
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

struct Outcome {
    std::optional<std::vector<Push>> pushes;
    std::size_t statesSeen = 0;
    bool exhausted = false;
};

// A search that packs goal rooms in order first; when it has searched everything it allows
// without an answer, the rooms may need another order, and a search that packs nothing starts
// again in the time and positions left.
Outcome searchForwards(const Maze& maze, const CrateSet& crates, int keeper,
                       const SolveLimits& limits, const SearchWatch& watch) {
    const double started = threadSeconds();
    SolveLimits rest = limits;
    std::size_t packingSeen = 0;
    {
        Search packing(maze, limits, watch, EstimateWeight, true);
        auto pushes = packing.run(crates, keeper);
        if (pushes || !packing.finished() || packing.exhausted())
            return {std::move(pushes), packing.statesSeen(), packing.exhausted()};
        packingSeen = packing.statesSeen();
    }
    rest.seconds -= threadSeconds() - started;
    if (rest.positions != SIZE_MAX) rest.positions -= std::min(rest.positions, packingSeen);
    Search search(maze, rest, watch, EstimateWeight, false);
    auto pushes = search.run(crates, keeper);
    return {std::move(pushes), packingSeen + search.statesSeen(), search.exhausted()};
}

Outcome searchBackwards(const Maze& maze, const CrateSet& crates, int keeper,
                        const SolveLimits& limits, const SearchWatch& watch) {
    PullSearch search(maze, crates, limits, watch, EstimateWeight);
    auto pushes = search.run(keeper);
    return {std::move(pushes), search.statesSeen(), search.exhausted()};
}

// One level on one core: forwards for half the time, then backwards for the rest. A search
// bounded by positions, which must end the same way every time, goes forwards only.
Outcome searchOnOneCore(const Maze& maze, const CrateSet& crates, int keeper,
                        const SolveLimits& limits, const SearchWatch& watch) {
    if (limits.positions != SIZE_MAX) return searchForwards(maze, crates, keeper, limits, watch);
    const double started = threadSeconds();
    SolveLimits half = limits;
    half.seconds /= 2;
    Outcome forwards = searchForwards(maze, crates, keeper, half, watch);
    if (forwards.pushes || forwards.exhausted) return forwards;
    SolveLimits rest = limits;
    rest.seconds -= threadSeconds() - started;
    Outcome backwards = searchBackwards(maze, crates, keeper, rest, watch);
    backwards.statesSeen += forwards.statesSeen;
    return backwards;
}

// A search forwards and one backwards side by side: the first answer wins and stops the
// other. Either one that proves the level unsolvable ends both. Only this thread calls
// `watch`.
Outcome searchOnTwoCores(const Maze& maze, const CrateSet& crates, int keeper,
                         const SolveLimits& limits, const SearchWatch& watch) {
    SolveLimits half = limits;
    half.memoryBytes /= 2;
    std::atomic<bool> over = false;
    const SearchWatch backwardsWatch = [&](std::size_t) { return !over; };
    const SearchWatch forwardsWatch = [&](std::size_t statesSeen) {
        if (watch && !watch(statesSeen)) over = true;
        return !over;
    };
    Outcome backwards;
    Outcome forwards;
    {
        std::atomic<bool> backwardsEnded = false;
        const std::jthread helper([&] {
            backwards = searchBackwards(maze, crates, keeper, half, backwardsWatch);
            if (backwards.pushes || backwards.exhausted) over = true;
            backwardsEnded = true;
        });
        forwards = searchForwards(maze, crates, keeper, half, forwardsWatch);
        if (forwards.pushes || forwards.exhausted) over = true;
        // A search that ran out of time leaves the other its own time, which a busy machine
        // may not have given it yet; the caller's watch is still asked from this thread.
        while (!over && !backwardsEnded) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (watch && !watch(forwards.statesSeen)) over = true;
        }
    }
    return {forwards.pushes ? std::move(forwards.pushes) : std::move(backwards.pushes),
            forwards.statesSeen + backwards.statesSeen, forwards.exhausted || backwards.exhausted};
}

// One of the ways above to search a level.
using SearchPlan = Outcome (*)(const Maze&, const CrateSet&, int keeper, const SolveLimits&,
                               const SearchWatch&);

SolverResult solveOn(const Board& board, int keeperX, int keeperY, const SolveLimits& limits,
                     const SearchWatch& watch, SearchPlan search) {
    SolverResult result;
    // Only a level that can be played is searched: with more crates than targets, say, a crate
    // may rest anywhere, which the push distances do not allow for.
    const Level level{board, keeperX, keeperY, {}, {}};
    if (!levelProblems(level).empty()) return result;
    const Maze maze = mazeOf(board);
    CrateSet crates = cratesOf(board);
    const int keeper = cellIndex(keeperX, keeperY);

    const Outcome outcome = search(maze, crates, keeper, limits, watch);
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
    return solveOn(board, keeperX, keeperY, limits, watch,
                   twoCores ? searchOnTwoCores : searchOnOneCore);
}

SolverResult solveLevelOneWay(const Board& board, int keeperX, int keeperY, SearchWay way,
                              const SolveLimits& limits) {
    return solveOn(board, keeperX, keeperY, limits, {},
                   way == SearchWay::Forwards ? searchForwards : searchBackwards);
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
            results[k] = solveOn(level.board, level.keeperX, level.keeperY, limits, watchAll,
                                 searchOnOneCore);
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
