#include "tools/solverdeadlocks.h"

#include <algorithm>

namespace quarbel::solving {

namespace {

// A crate is frozen when it is blocked along both axes: by a wall, by dead squares on both
// sides, or by a crate that is frozen itself while this one stands still. offTarget tells
// whether any crate of the frozen group is off a target.
bool frozen(const Maze& maze, const CrateSet& crates, CrateSet asWall, int c, bool& offTarget) {
    asWall.set(c);
    bool groupOffTarget = !maze.target[c];
    for (int step : {1, Side}) {
        const int before = c - step;
        const int after = c + step;
        auto blocking = [&](int n) { return maze.wall[n] || asWall.has(n); };
        if (blocking(before) || blocking(after)) continue;
        if (maze.dead(before) && maze.dead(after)) continue;
        bool blocked = false;
        for (int n : {before, after}) {
            bool neighbourOffTarget = false;
            if (crates.has(n) && frozen(maze, crates, asWall, n, neighbourOffTarget)) {
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

}  // namespace

bool freezesOffTarget(const Maze& maze, const CrateSet& crates, int c) {
    bool offTarget = false;
    return frozen(maze, crates, CrateSet{}, c, offTarget) && offTarget;
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
std::vector<Push> CorralRule::pushesWorthTrying(const Maze& maze, const CrateSet& crates,
                                                const Region& region) {
    auto reached = [&region](int c) { return region.has(c); };
    std::vector<Push> pushes;
    crates.forEach([&](int c) {
        for (int d = 0; d < 4; ++d) {
            const int to = c + Steps[d];
            if (!reached(c - Steps[d]) || maze.wall[to] || crates.has(to) || maze.dead(to))
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
            corral.mustChange = corral.mustChange || (crates.has(c) != maze.target[c]);
            for (int step : Steps) {
                const int n = c + step;
                if (maze.wall[n] || reached(n) || corralOf_[n] >= 0) continue;
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

}  // namespace quarbel::solving
