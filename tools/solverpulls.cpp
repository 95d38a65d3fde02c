#include "tools/solverpulls.h"

#include <algorithm>

namespace quarbel::solving {

namespace {

// The pulls from the solved position to the start, as the pushes back.
std::vector<Push> pushesOf(const std::vector<Push>& pulls) {
    std::vector<Push> pushes;
    for (auto pull = pulls.rbegin(); pull != pulls.rend(); ++pull)
        pushes.push_back({pull->from + Steps[pull->direction], opposite(pull->direction)});
    return pushes;
}

}  // namespace

PullSearch::PullSearch(const Maze& maze, const CrateSet& start, const SolveLimits& limits,
                       const SearchWatch& watch, int weight)
    : maze_(maze),
      start_(start),
      pulls_(pullMazeOf(maze, start)),
      limits_(limits),
      watch_(watch),
      weight_(weight),
      store_(pulls_),
      matcher_(pulls_) {}

std::optional<std::vector<Push>> PullSearch::run(int keeper) {
    Budget budget(limits_, watch_);
    CrateSet solved;
    std::vector<int> crateList;
    for (int t : maze_.targets) {
        solved.set(t);
        crateList.push_back(t);
    }
    std::sort(crateList.begin(), crateList.end());
    // A target that no crate can be pushed onto from where the crates start.
    const int solvedEstimate = matcher_.match(crateList);
    if (solvedEstimate == Matcher::Unmatched) {
        exhausted_ = true;
        return std::nullopt;
    }
    const int goalKeeper = region_.flood(pulls_, start_, keeper);
    OpenPositions open(weight_);
    // The last push may leave the keeper in any part of the floor.
    std::array<bool, Cells> covered{};
    for (int c = 0; c < Cells; ++c) {
        if (pulls_.wall[c] || solved.has(c) || covered[c]) continue;
        const int smallest = region_.flood(pulls_, solved, c);
        for (int square = 0; square < Cells; ++square)
            covered[square] = covered[square] || region_.has(square);
        const auto node = static_cast<std::uint32_t>(store_.size());
        store_.add(solved, smallest, node, {0, 0});
        if (solved == start_ && smallest == goalKeeper) return std::vector<Push>{};
        open.add(node, 0, solvedEstimate);
    }

    while (!open.empty()) {
        if (!budget.allows(store_, open)) return std::nullopt;
        const std::uint32_t current = open.take();
        const CrateSet crates = store_.crates(current);
        region_.flood(pulls_, crates, store_.keeper(current));
        crateList.clear();
        crates.forEach([&](int c) { crateList.push_back(c); });
        matcher_.match(crateList);
        for (std::size_t k = 0; k < crateList.size(); ++k) {
            const int from = crateList[k];
            for (int d = 0; d < 4; ++d) {
                // The keeper stands where the crate goes and steps back beyond it.
                const int to = from + Steps[d];
                const int keeperTo = to + Steps[d];
                if (!region_.has(to) || pulls_.wall[keeperTo] || crates.has(keeperTo) ||
                    pulls_.dead(to))
                    continue;
                CrateSet child = crates;
                child.clear(from);
                child.set(to);
                const int estimate = matcher_.withMoved(static_cast<int>(k), to, d);
                if (estimate == Matcher::Unmatched) continue;
                const int childKeeper = childRegion_.flood(pulls_, child, keeperTo);
                if (!store_.add(child, childKeeper, current, {from, d})) continue;
                const auto index = static_cast<std::uint32_t>(store_.size() - 1);
                if (estimate == 0 && childKeeper == goalKeeper)
                    return pushesOf(store_.pathTo(index));
                open.add(index, open.movesTo(current) + 1, estimate);
            }
        }
    }
    exhausted_ = true;
    return std::nullopt;
}

}  // namespace quarbel::solving
