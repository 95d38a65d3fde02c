// Goal rooms: targets that crates enter only through one or two doors, filled in an order that
// leaves room for the crates still to come.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "tools/solvermaze.h"

namespace quarbel::solving {

struct GoalRoom {
    CrateSet squares;  // the room, without its doors
    std::vector<int> doors;
    std::vector<int> targets;
};

// The rooms of a level: areas cut off by one or two door squares, away from the keeper's
// start, holding two targets or more and no more than half as many other squares, that can be
// filled from empty.
std::vector<GoalRoom> findGoalRooms(const Maze& maze, int keeper);

// Packing rooms in order. A room is packed while its crates all stand on targets from which the
// room can still be filled: those crates stay, and a crate pushed in through a door goes on
// straight to the next target of the room's packing order. The order is found backwards, by
// pulling out of the full room, one by one, the crates that are not there yet; they go in in
// the reverse order. This gives up solutions that fill a room otherwise, so a search that packs
// rooms proves nothing unsolvable.
class RoomPacking {
  public:
    RoomPacking(const Maze& maze, int keeper);

    bool any() const { return !rooms_.empty(); }

    // Drops the pushes of crates resting in packed rooms; true when it dropped any.
    bool keepPackedCrates(const CrateSet& crates, std::vector<Push>& pushes);

    // For a push through a door into a packed room: the pushes, this one first, that take the
    // crate on to the room's next target, empty when it cannot get there. Nothing for any
    // other push.
    std::optional<std::vector<Push>> packingPushes(const CrateSet& crates, Push push);

  private:
    // The room's next target to fill, -1 when the room is not packed.
    int nextTarget(int room, const CrateSet& crates);

    const Maze& maze_;
    std::vector<GoalRoom> rooms_;
    std::array<int, Cells> roomOf_{};  // -1 outside every room
    // Per room, the next target for each set of its targets holding crates (a bit per target
    // in the room's list).
    std::vector<std::unordered_map<std::uint64_t, int>> next_;
    Region region_;
};

}  // namespace quarbel::solving
