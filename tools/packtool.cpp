#include "packtool.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/gameerror.h"
#include "core/levelpack.h"
#include "leveltext.h"
#include "movies/moviefile.h"
#include "solver.h"

namespace quarbel {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view Notation = "udrlUDRL";  // indexed by history code - 1

std::string readTextFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw ToolError("cannot open " + fileName);
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw ToolError("cannot read " + fileName);
    return text.str();
}

void writeAtomically(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    const std::string partName = fileName + ".new";
    try {
        writeFileBytes(partName, bytes);
    } catch (const IoError& error) {
        std::remove(partName.c_str());
        throw ToolError("cannot write " + fileName + ": " + error.what());
    }
    std::error_code error;
    fs::rename(partName, fileName, error);
    if (error) {
        std::remove(partName.c_str());
        throw ToolError("cannot write " + fileName + ": " + error.message());
    }
}

LevelCollection readPack(const std::string& packFile) {
    try {
        return readPackAsText(packFile);
    } catch (const IoError& error) {
        throw ToolError("cannot read " + packFile + ": " + error.what());
    }
}

int levelNumberOf(const std::string& text) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size()) {
        throw ToolError("\"" + text + "\" is not a level number");
    }
    return number;
}

std::string usage() {
    return "usage: quarbel-pack import SOURCE.txt PACK.dat\n"
           "       quarbel-pack export PACK.dat [OUT.txt]\n"
           "       quarbel-pack list PACK.dat\n"
           "       quarbel-pack solve PACK.dat LEVEL [--movie] [--force]\n"
           "       quarbel-pack movie-to-text MOVIE.MOV\n"
           "       quarbel-pack text-to-movie SOLUTION MOVIE.MOV [--force]\n";
}

// Splits "--flag" options from the plain arguments; only the named flags are accepted.
std::vector<std::string> plainArguments(const std::vector<std::string>& arguments,
                                        const std::vector<std::string>& allowed,
                                        std::vector<std::string>& flags) {
    std::vector<std::string> plain;
    for (const std::string& argument : arguments) {
        if (!argument.starts_with("--")) {
            plain.push_back(argument);
        } else if (std::find(allowed.begin(), allowed.end(), argument) != allowed.end()) {
            flags.push_back(argument);
        } else {
            throw ToolError("unknown option " + argument + "\n" + usage());
        }
    }
    return plain;
}

bool hasFlag(const std::vector<std::string>& flags, std::string_view flag) {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

}  // namespace

std::string notationOf(std::span<const std::uint16_t> moves) {
    std::string text;
    for (std::uint16_t code : moves) {
        if (code < 1 || code > 8) {
            throw ToolError("move " + std::to_string(text.size() + 1) + " has the unknown code " +
                            std::to_string(code));
        }
        text += Notation[code - 1];
    }
    return text;
}

std::vector<std::uint16_t> movesOfNotation(std::string_view notation) {
    std::vector<std::uint16_t> moves;
    for (std::size_t i = 0; i < notation.size(); ++i) {
        const char symbol = notation[i];
        if (symbol == ' ' || symbol == '\n' || symbol == '\r' || symbol == '\t') continue;
        const auto code = Notation.find(symbol);
        if (code == std::string_view::npos) {
            throw ToolError("unknown move '" + std::string(1, symbol) + "' at position " +
                            std::to_string(i + 1));
        }
        moves.push_back(static_cast<std::uint16_t>(code + 1));
    }
    return moves;
}

void importPack(const std::string& sourceFile, const std::string& packFile) {
    writeAtomically(packFile, packBytesOf(parseLevelText(readTextFile(sourceFile))));
}

std::string exportPack(const std::string& packFile) {
    return formatLevelText(readPack(packFile));
}

std::string listPack(const std::string& packFile) {
    const LevelCollection pack = readPack(packFile);
    std::string text =
        "Title: " + pack.title + "\nLevels: " + std::to_string(pack.levels.size()) + "\n";
    for (std::size_t k = 0; k < pack.levels.size(); ++k) {
        const TextLevel& level = pack.levels[k];
        std::size_t width = 0;
        int crates = 0;
        for (const std::string& row : level.rows) {
            width = std::max(width, row.size());
            crates += static_cast<int>(std::count(row.begin(), row.end(), '$') +
                                       std::count(row.begin(), row.end(), '*'));
        }
        char line[96];
        std::snprintf(line, sizeof line, "%4zu  %2zu x %-2zu  %2d crates  ", k + 1, width,
                      level.rows.size(), crates);
        text += line + (level.author.empty() ? std::string(DefaultAuthor) : level.author) + "\n";
    }
    return text;
}

ProvenSolution solvePackLevel(const std::string& packFile, int levelNumber) {
    const LevelCollection pack = readPack(packFile);
    const int count = static_cast<int>(pack.levels.size());
    if (levelNumber < 1 || levelNumber > count) {
        throw ToolError("level " + std::to_string(levelNumber) + " is not in the pack (1 to " +
                        std::to_string(count) + ")");
    }
    // Checked as an import would check it, so the solver only meets levels it can prove.
    const PackLevel checked = packLevelOf(pack.levels[levelNumber - 1], levelNumber);
    const SolverResult result = solveLevel(checked.board, checked.keeperX, checked.keeperY);
    const std::string name = "level " + std::to_string(levelNumber) + ": ";
    if (!result.moves) {
        throw ToolError(name + "no solution found among " + std::to_string(result.statesSeen) +
                        " positions");
    }
    if (!replaySolves(checked.board, checked.keeperX, checked.keeperY, *result.moves)) {
        throw ToolError(name + "the solution found does not replay to a solved board");
    }
    return {*result.moves, result.pushes, result.statesSeen};
}

std::string movieFileOf(const std::string& packFile, int levelNumber) {
    const fs::path pack(packFile);
    const std::string packName = stripExtension(pack.filename().string());
    return (pack.parent_path() / movieFileName(packName, std::to_string(levelNumber))).string();
}

void writeMovie(const std::string& movieFile, std::span<const std::uint16_t> moves, bool force) {
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
    try {
        writeMovieFile(movieFile, moves);
    } catch (const IoError& failure) {
        throw ToolError("cannot write " + movieFile + ": " + failure.what());
    }
}

std::string movieAsNotation(const std::string& movieFile) {
    std::optional<std::vector<std::uint16_t>> moves;
    try {
        // One code past what the game replays is enough to refuse a longer movie.
        moves = readMovieFile(movieFile, HistoryCapacity + 1);
    } catch (const IoError& failure) {
        throw ToolError("cannot read " + movieFile + ": " + failure.what());
    }
    if (!moves) throw ToolError("cannot open " + movieFile);
    if (moves->size() > HistoryCapacity) {
        throw ToolError(movieFile + " holds more than the 5000 moves the game replays");
    }
    try {
        return notationOf(*moves);
    } catch (const ToolError& failure) {
        throw ToolError(movieFile + ": " + failure.what());
    }
}

int runPackTool(const std::vector<std::string>& arguments, std::string& out, std::string& err) {
    try {
        if (arguments.empty()) throw ToolError(usage());
        const std::string& command = arguments[0];
        const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        std::vector<std::string> flags;
        auto expect = [&](const std::vector<std::string>& allowed, std::size_t least,
                          std::size_t most) {
            auto plain = plainArguments(rest, allowed, flags);
            if (plain.size() < least || plain.size() > most) throw ToolError(usage());
            return plain;
        };
        if (command == "import") {
            const auto files = expect({}, 2, 2);
            importPack(files[0], files[1]);
        } else if (command == "export") {
            const auto files = expect({}, 1, 2);
            const std::string text = exportPack(files[0]);
            if (files.size() == 1) {
                out += text;
            } else {
                writeAtomically(files[1], std::vector<std::uint8_t>(text.begin(), text.end()));
            }
        } else if (command == "list") {
            out += listPack(expect({}, 1, 1)[0]);
        } else if (command == "solve") {
            const auto plain = expect({"--movie", "--force"}, 2, 2);
            const int level = levelNumberOf(plain[1]);
            const ProvenSolution solution = solvePackLevel(plain[0], level);
            out += notationOf(solution.moves) + "\n";
            err += "level " + plain[1] + ": " + std::to_string(solution.moves.size()) + " moves, " +
                   std::to_string(solution.pushes) + " pushes, " +
                   std::to_string(solution.statesSeen) + " positions searched\n";
            if (hasFlag(flags, "--movie")) {
                const std::string movie = movieFileOf(plain[0], level);
                writeMovie(movie, solution.moves, hasFlag(flags, "--force"));
                err += "wrote " + movie + "\n";
            }
        } else if (command == "movie-to-text") {
            out += movieAsNotation(expect({}, 1, 1)[0]) + "\n";
        } else if (command == "text-to-movie") {
            const auto plain = expect({"--force"}, 2, 2);
            writeMovie(plain[1], movesOfNotation(plain[0]), hasFlag(flags, "--force"));
        } else {
            throw ToolError("unknown command " + command + "\n" + usage());
        }
        return 0;
    } catch (const std::exception& failure) {
        err += "quarbel-pack: " + std::string(failure.what()) + "\n";
        return 1;
    }
}

}  // namespace quarbel
