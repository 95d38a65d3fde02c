// The commands of quarbel-pack, each a function so that the tests can run them directly.
// Every failure throws ToolError with a message fit for the user.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files.h"
#include "tools/leveltext.h"
#include "tools/solver.h"

namespace quarbel {

class ToolError : public Error {
  public:
    using Error::Error;
};

// The moves in the common solution notation (movesOfNotation reads it back): "u d r l" for
// walks, "U D R L" for pushes.
std::string notationOf(std::span<const std::uint16_t> moves);

struct ImportOptions {
    bool movies = false;  // store each level's checked solution as its movie
    bool force = false;   // ... also over a movie already stored
    bool strict = false;  // refuse the whole file rather than skip, cut, replace or split
};

// Imports a collection file into packFile, and into packFile's "-2", "-3", ... parts when it
// holds more than 255 levels. Every pack is built in memory and all of them are put in
// place only when each is written in full; a refused or failed import leaves every pack as
// it was. Appends to report what had to be skipped, cut or left out, ending with the line
// "imported 97 of 100 levels into castle.dat; skipped 3". Throws ToolError when nothing
// could be written.
void importCollection(const std::string& sourceFile, const std::string& packFile,
                      const ImportOptions& options, std::string& report);

// The pack as a collection text; with movies each stored movie is its level's solution.
// Movies that cannot be exported are named in report.
std::string exportPack(const std::string& packFile, bool movies, std::string& report);

// A pack (*.dat): the title, the level count, and per level its size, crates and author.
// A collection file: what import would keep, in the same form, and what it would skip.
std::string listFile(const std::string& fileName);

// The levels of a pack, or of a collection file numbered as import counts its levels.
LevelCollection levelsOfFile(const std::string& fileName);

// A level's solution, already replayed through the move engine to a solved board.
struct ProvenSolution {
    std::vector<std::uint16_t> moves;
    int pushes = 0;
    std::size_t statesSeen = 0;
};
// "12 moves, 4 pushes, 30 positions searched"
std::string describeSolution(const ProvenSolution& solution);
// The level of a pack, or of a collection file numbered as import counts its levels.
ProvenSolution solveLevelOf(const std::string& fileName, int levelNumber,
                            const SolveLimits& limits = {});
// Solves every level of the file side by side and writes one line per level to report: the
// solution's length, or why there is none; with movies each solution is stored as the level's
// movie beside the pack. Returns the number of levels solved.
int solveEveryLevel(const std::string& fileName, const SolveLimits& limits, bool movies, bool force,
                    std::string& report);

// A movie as it is to be stored, or why it is not: an existing movie is replaced only with
// force. Makes the movie's folder.
FileContent movieContent(const std::string& movieFile, std::span<const std::uint16_t> moves,
                         bool force);

// Where the game looks for a level's movie: the pack's movie folder beside the pack.
std::string movieFileOf(const std::string& packFile, int levelNumber);

// Writes a movie, making its folder; an existing movie is replaced only with force.
void writeMovie(const std::string& movieFile, std::span<const std::uint16_t> moves, bool force);
std::string movieAsNotation(const std::string& movieFile);

// Runs quarbel-pack with its arguments (without the program name); returns the exit code.
int runPackTool(const std::vector<std::string>& arguments, std::string& out, std::string& err);

}  // namespace quarbel
