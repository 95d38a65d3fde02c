// The commands of quarbel-pack, each a function so that the tests can run them directly.
// Every failure throws ToolError with a message fit for the user.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quarbel {

class ToolError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The common solution notation: "u d r l" for walks, "U D R L" for pushes.
std::string notationOf(std::span<const std::uint16_t> moves);
// Line ends and spaces between moves are skipped.
std::vector<std::uint16_t> movesOfNotation(std::string_view notation);

// Builds the whole pack in memory and puts it in place only when it is written in full,
// so a refused or failed import leaves packFile as it was.
void importPack(const std::string& sourceFile, const std::string& packFile);
std::string exportPack(const std::string& packFile);
// The title, the level count, and per level its size, crates and author.
std::string listPack(const std::string& packFile);

// A level's solution, already replayed through the move engine to a solved board.
struct ProvenSolution {
    std::vector<std::uint16_t> moves;
    int pushes = 0;
    std::size_t statesSeen = 0;
};
ProvenSolution solvePackLevel(const std::string& packFile, int levelNumber);

// Where the game looks for a level's movie: the pack's movie folder beside the pack.
std::string movieFileOf(const std::string& packFile, int levelNumber);

// Writes a movie, making its folder; an existing movie is replaced only with force.
void writeMovie(const std::string& movieFile, std::span<const std::uint16_t> moves, bool force);
std::string movieAsNotation(const std::string& movieFile);

// Runs quarbel-pack with its arguments (without the program name); returns the exit code.
int runPackTool(const std::vector<std::string>& arguments, std::string& out, std::string& err);

}  // namespace quarbel
