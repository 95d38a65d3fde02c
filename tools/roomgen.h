// The level generator: a room drawn by hand as text (walls, floor, and the squares where
// targets may go) becomes a level. Crates are pulled backwards from the targets, breadth
// first, so every position found is as many pushes from solved as its layer says; starts from
// the farthest layer are proved by the solver, and the one whose solution has the
// most crate switches and pushes is kept. In a room too large to search in full the pulls go
// on along a beam of the positions farthest from solved, and the farthest starts are proved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "tools/leveltext.h"
#include "tools/room.h"
#include "tools/solutionmeasure.h"
#include "tools/solver.h"

namespace quarbel {

struct GeneratorLimits {
    // Positions the backward search keeps at most, and half as many again when one whole layer
    // overruns it.
    std::size_t pullPositions = 1'500'000;
    // A room never demands more than a start may need.
    std::size_t proofPositions = MostDemandingPositions;
    int candidates = 4;  // farthest starts proved per room
    // A room that asks the solver to search proves this many times as many: starts that both
    // of its searches need long for are rare among the farthest.
    int demandingSpread = 32;
    // Target sets tried when a room has more target squares than crates and is small enough
    // to search in full.
    int targetTries = 3;
};

struct GeneratedLevel {
    TextLevel level;  // rows, author and the solution found
    SolutionMeasure measure;
    std::size_t positions = 0;  // what the quicker of the solver's searches needed
};

// A room is a level of a collection: "#" walls, floor, "." squares where a target may go
// (any other board character counts as floor). A "Crates: N" line after it picks N of its
// target squares; without one every target square gets a crate. A "Positions: N" line asks for
// a start that the quicker of the solver's two searches needs at least N positions for, where
// the farthest starts give one (else the most demanding found is taken). The same room gives the
// same level every time. Throws LevelTextError when the room gives no level, naming it by
// roomNumber.
GeneratedLevel generateLevel(const TextLevel& room, int roomNumber,
                             const GeneratorLimits& limits = {});

// Every room of the collection as a level, easiest first; the rooms are shared out over the
// machine's cores. Throws LevelTextError naming every room that gives no level.
std::vector<GeneratedLevel> generatePack(const LevelCollection& rooms,
                                         const GeneratorLimits& limits = {});

}  // namespace quarbel
