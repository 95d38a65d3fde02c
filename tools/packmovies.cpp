// quarbel-pack and the game's movies: the solution notation, where a level's movie lies, and
// writing and reading movies.
#include "tools/packtool.h"

#include <filesystem>

#include "core/direction.h"
#include "core/files.h"
#include "core/levelpack.h"
#include "movies/moviefile.h"

namespace quarbel {

namespace fs = std::filesystem;

FileContent movieContent(const std::string& movieFile, std::span<const std::uint16_t> moves,
                         bool force) {
    if (moves.empty()) throw ToolError("the solution holds no moves");
    if (moves.size() > HistoryCapacity) {
        throw ToolError("the solution holds " + std::to_string(moves.size()) +
                        " moves, the game replays at most 5000");
    }
    notationOf(moves);  // refuses codes outside 1 to 8
    std::error_code error;
    if (fs::exists(movieFile, error) && !force) {
        throw ToolError(movieFile + " already exists; --force replaces it");
    }
    const fs::path folder = fs::path(movieFile).parent_path();
    if (!folder.empty()) fs::create_directories(folder, error);
    return {movieFile, movieBytes(moves)};
}

std::string notationOf(std::span<const std::uint16_t> moves) {
    std::string text;
    for (std::uint16_t code : moves) {
        const char letter = notationLetter(code);
        if (letter == 0) {
            throw ToolError("move " + std::to_string(text.size() + 1) + " has the unknown code " +
                            std::to_string(code));
        }
        text += letter;
    }
    return text;
}

std::string movieFileOf(const std::string& packFile, int levelNumber) {
    const fs::path pack(packFile);
    const std::string packName = stripExtension(pack.filename().string());
    return (pack.parent_path() / movieFileName(packName, std::to_string(levelNumber))).string();
}

void writeMovie(const std::string& movieFile, std::span<const std::uint16_t> moves, bool force) {
    const FileContent movie = movieContent(movieFile, moves, force);
    replaceFile(movie.fileName, movie.bytes);
}

std::string movieAsNotation(const std::string& movieFile) {
    std::string bytes;
    try {
        bytes = readFile(movieFile, HistoryCapacity);
    } catch (const FileError& failure) {
        if (failure.errorNumber() != EFBIG) throw;
        throw ToolError(movieFile + " holds more than the 5000 moves the game replays");
    }
    std::vector<std::uint16_t> moves;
    for (const char byte : bytes)
        moves.push_back(static_cast<std::uint16_t>(static_cast<unsigned char>(byte) - 48));
    try {
        return notationOf(moves);
    } catch (const ToolError& failure) {
        throw ToolError(movieFile + ": " + failure.what());
    }
}

}  // namespace quarbel
