// A room drawn by hand for the level generator, read into an array of squares.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "tools/leveltext.h"

namespace quarbel {

// About what one of the game's solver's searches goes through in most of its time: a start
// that needs more may not be proved in the game.
constexpr std::size_t MostDemandingPositions = 1'300'000;

// A room with a ring of wall round it, so no step from an open square leaves the array.
struct Room {
    int width = 0;
    int height = 0;
    std::vector<char> cells;
    std::vector<bool> open;  // floor inside the walls, for the keeper and the crates
    std::vector<int> targetSquares;
    int crates = 0;
    // The positions the solver must need at least to prove a start, so that it has to search
    // rather than walk straight to the answer ("Positions: N"); 0 when any start will do.
    std::size_t demandingPositions = 0;
    std::array<int, 4> steps{};
};

// Throws LevelTextError "room 3: why".
[[noreturn]] void refuseRoom(int roomNumber, const std::string& reason);

// The room of a drawn level: "#" walls, floor, "." squares where a target may go, its crate
// count ("Crates: N", else one a target square) and the positions a start must need. Throws
// LevelTextError for a room that gives no level, naming it by roomNumber.
Room roomOf(const TextLevel& level, int roomNumber);

}  // namespace quarbel
