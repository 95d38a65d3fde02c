#include "tools/solverrooms.h"

#include <algorithm>

namespace quarbel::solving {

namespace {

constexpr int NotPacked = -1;
constexpr int Full = -2;

// A room's target list is one bit each in a 64-bit set.
constexpr std::size_t MostRoomTargets = 64;

int countIn(const CrateSet& crates, const CrateSet& squares) {
    int count = 0;
    for (int w = 0; w < Words; ++w)
        count += __builtin_popcountll(crates.bits[w] & squares.bits[w]);
    return count;
}

// Whether the crate on `crate` can be pulled out of the room through a door, the keeper coming
// in from outside; `crates` holds it and the others.
bool pullsOut(const Maze& maze, const GoalRoom& room, CrateSet crates, int crate, Region& region) {
    // Each state is the crate's square and the side the keeper stands on.
    std::vector<std::pair<int, int>> queue;
    std::array<std::uint8_t, Cells> seen{};
    auto reachSidesOf = [&](int c) {
        for (int d = 0; d < 4; ++d) {
            if (!region.has(c + Steps[d]) || ((seen[c] >> d) & 1)) continue;
            seen[c] |= static_cast<std::uint8_t>(1 << d);
            queue.emplace_back(c, d);
        }
    };
    for (int door : room.doors) {
        if (crates.has(door)) continue;
        region.flood(maze, crates, door);
        reachSidesOf(crate);
    }
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const auto [c, d] = queue[i];
        const int pulledTo = c + Steps[d];
        const int keeperTo = pulledTo + Steps[d];
        if (maze.wall[keeperTo] || crates.has(keeperTo) || maze.dead(pulledTo)) continue;
        if (!room.squares.has(pulledTo)) return true;
        crates.clear(c);
        crates.set(pulledTo);
        region.flood(maze, crates, keeperTo);
        reachSidesOf(pulledTo);
        crates.clear(pulledTo);
        crates.set(c);
    }
    return false;
}

// The target of the room to fill next when the targets in `present` hold crates: the last of
// the missing crates to come out of the full room. Full when nothing is missing, NotPacked
// when the missing crates cannot all come out.
int firstToFill(const Maze& maze, const GoalRoom& room, std::uint64_t present, Region& region) {
    CrateSet crates;
    std::vector<int> missing;
    for (std::size_t i = 0; i < room.targets.size(); ++i) {
        crates.set(room.targets[i]);
        if (((present >> i) & 1) == 0) missing.push_back(room.targets[i]);
    }
    if (missing.empty()) return Full;
    // Taking a crate out only makes room for the others, so any crate that comes out may go.
    int last = NotPacked;
    while (!missing.empty()) {
        const auto out = std::find_if(missing.begin(), missing.end(), [&](int t) {
            return pullsOut(maze, room, crates, t, region);
        });
        if (out == missing.end()) return NotPacked;
        last = *out;
        crates.clear(*out);
        missing.erase(out);
    }
    return last;
}

constexpr int NoSquare = -1;

// The squares of the floor whose loss, beside that of `removed`, splits what is left: the
// articulation points of a depth-first search.
std::vector<int> cutSquares(const std::vector<int>& floor, const std::array<bool, Cells>& onFloor,
                            int removed) {
    std::array<int, Cells> order{};  // when the search reached a square, from 1; 0 before
    std::array<int, Cells> low{};    // the earliest square reached back from below a square
    std::array<bool, Cells> cut{};
    struct Frame {
        int square;
        int parent;
        int nextDirection;
    };
    std::vector<Frame> stack;
    int reached = 0;
    for (int root : floor) {
        if (root == removed || order[root] != 0) continue;
        order[root] = low[root] = ++reached;
        stack.assign(1, {root, NoSquare, 0});
        int rootChildren = 0;
        while (!stack.empty()) {
            Frame& frame = stack.back();
            const int u = frame.square;
            if (frame.nextDirection < 4) {
                const int n = u + Steps[frame.nextDirection++];
                if (!onFloor[n] || n == removed || n == frame.parent) continue;
                if (order[n] != 0) {
                    low[u] = std::min(low[u], order[n]);
                } else {
                    order[n] = low[n] = ++reached;
                    stack.push_back({n, u, 0});
                }
                continue;
            }
            const int parent = frame.parent;
            stack.pop_back();
            if (parent == NoSquare) continue;
            low[parent] = std::min(low[parent], low[u]);
            if (parent == root) {
                ++rootChildren;
            } else if (low[u] >= order[parent]) {
                cut[parent] = true;
            }
        }
        if (rootChildren > 1) cut[root] = true;
    }
    std::vector<int> squares;
    for (int c : floor) {
        if (cut[c]) squares.push_back(c);
    }
    return squares;
}

}  // namespace

std::vector<GoalRoom> findGoalRooms(const Maze& maze, int keeper) {
    Region region;
    region.flood(maze, CrateSet{}, keeper);
    std::vector<int> floor;
    for (int c = 0; c < Cells; ++c) {
        if (region.has(c)) floor.push_back(c);
    }

    // Every area that one or two squares cut off from the keeper's start.
    std::vector<GoalRoom> candidates;
    std::array<int, Cells> part{};
    std::vector<int> queue;
    auto cutOffBy = [&](const std::vector<int>& doors) {
        part.fill(-1);
        for (int door : doors)
            part[door] = Cells;
        int parts = 0;
        for (int start : floor) {
            if (part[start] >= 0) continue;
            GoalRoom room;
            room.doors = doors;
            int squares = 0;
            queue.assign(1, start);
            part[start] = parts;
            for (std::size_t i = 0; i < queue.size(); ++i) {
                const int c = queue[i];
                room.squares.set(c);
                ++squares;
                if (maze.target[c]) room.targets.push_back(c);
                for (int step : Steps) {
                    const int n = c + step;
                    if (!region.has(n) || part[n] >= 0) continue;
                    part[n] = parts;
                    queue.push_back(n);
                }
            }
            ++parts;
            const int targets = static_cast<int>(room.targets.size());
            if (room.squares.has(keeper) || targets < 2 || squares > 2 * targets ||
                room.targets.size() > MostRoomTargets)
                continue;
            // A door opens on the room and on the floor outside it.
            const bool everyDoorOpensOnIt = std::all_of(doors.begin(), doors.end(), [&](int door) {
                auto opensOn = [&](bool inside) {
                    return std::any_of(Steps.begin(), Steps.end(), [&](int step) {
                        const int n = door + step;
                        return region.has(n) && part[n] != Cells && room.squares.has(n) == inside;
                    });
                };
                return opensOn(true) && opensOn(false);
            });
            const bool seen =
                std::any_of(candidates.begin(), candidates.end(),
                            [&](const GoalRoom& r) { return r.squares == room.squares; });
            if (everyDoorOpensOnIt && !seen) candidates.push_back(std::move(room));
        }
    };
    std::array<bool, Cells> onFloor{};
    for (int c : floor)
        onFloor[c] = true;
    for (int a : cutSquares(floor, onFloor, NoSquare))
        cutOffBy({a});
    for (int a : floor) {
        for (int b : cutSquares(floor, onFloor, a)) {
            if (b > a) cutOffBy({a, b});
        }
    }

    // The largest rooms first, each apart from those taken, each one that can be filled.
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const GoalRoom& a, const GoalRoom& b) { return a.squares.count() > b.squares.count(); });
    std::vector<GoalRoom> rooms;
    CrateSet taken;
    for (GoalRoom& room : candidates) {
        bool apart = countIn(taken, room.squares) == 0;
        for (int door : room.doors)
            apart = apart && !taken.has(door);
        if (!apart || firstToFill(maze, room, 0, region) == NotPacked) continue;
        room.squares.forEach([&](int c) { taken.set(c); });
        for (int door : room.doors)
            taken.set(door);
        rooms.push_back(std::move(room));
    }
    return rooms;
}

RoomPacking::RoomPacking(const Maze& maze, int keeper)
    : maze_(maze), rooms_(findGoalRooms(maze, keeper)), next_(rooms_.size()) {
    roomOf_.fill(-1);
    for (int r = 0; r < static_cast<int>(rooms_.size()); ++r)
        rooms_[r].squares.forEach([&](int c) { roomOf_[c] = r; });
}

int RoomPacking::nextTarget(int room, const CrateSet& crates) {
    const GoalRoom& goalRoom = rooms_[room];
    std::uint64_t present = 0;
    for (std::size_t i = 0; i < goalRoom.targets.size(); ++i) {
        if (crates.has(goalRoom.targets[i])) present |= std::uint64_t{1} << i;
    }
    if (countIn(crates, goalRoom.squares) != __builtin_popcountll(present)) return NotPacked;
    const auto [known, added] = next_[room].try_emplace(present, NotPacked);
    if (added) known->second = firstToFill(maze_, goalRoom, present, region_);
    return known->second;
}

bool RoomPacking::keepPackedCrates(const CrateSet& crates, std::vector<Push>& pushes) {
    const std::size_t before = pushes.size();
    std::erase_if(pushes, [&](const Push& push) {
        const int room = roomOf_[push.from];
        return room >= 0 && nextTarget(room, crates) != NotPacked;
    });
    return pushes.size() != before;
}

std::optional<std::vector<Push>> RoomPacking::packingPushes(const CrateSet& crates, Push push) {
    const int entered = push.from + Steps[push.direction];
    const int room = roomOf_[entered];
    if (room < 0 || roomOf_[push.from] == room) return std::nullopt;
    const int target = nextTarget(room, crates);
    if (target == NotPacked) return std::nullopt;
    if (target == Full) return std::vector<Push>{};
    if (entered == target) return std::vector<Push>{push};

    // Pushes of the crate within the room, breadth first; each step is the crate's square and
    // the direction it was pushed in, the keeper standing behind.
    struct Step {
        int crate;
        int direction;
        int before;
    };
    std::vector<Step> steps{{entered, push.direction, -1}};
    std::array<std::uint8_t, Cells> seen{};
    CrateSet others = crates;
    others.clear(push.from);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const int c = steps[i].crate;
        others.set(c);
        region_.flood(maze_, others, c - Steps[steps[i].direction]);
        others.clear(c);
        for (int d = 0; d < 4; ++d) {
            const int next = c + Steps[d];
            if (!region_.has(c - Steps[d]) || roomOf_[next] != room || others.has(next) ||
                maze_.dead(next) || ((seen[next] >> d) & 1))
                continue;
            seen[next] |= static_cast<std::uint8_t>(1 << d);
            steps.push_back({next, d, static_cast<int>(i)});
            if (next != target) continue;
            std::vector<Push> pushes;
            for (int s = static_cast<int>(steps.size()) - 1; s >= 0; s = steps[s].before) {
                pushes.push_back({steps[s].crate - Steps[steps[s].direction], steps[s].direction});
            }
            std::reverse(pushes.begin(), pushes.end());
            return pushes;
        }
    }
    return std::vector<Push>{};
}

}  // namespace quarbel::solving
