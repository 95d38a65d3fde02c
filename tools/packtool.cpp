#include "tools/packtool.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/direction.h"
#include "core/filefinder.h"
#include "core/files.h"
#include "core/gameerror.h"
#include "core/levelpack.h"
#include "movies/moviefile.h"
#include "tools/commandline.h"
#include "tools/levelconvert.h"
#include "tools/solver.h"

namespace quarbel {

namespace {

namespace fs = std::filesystem;

std::string bytesOf(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

LevelCollection readPack(const std::string& packFile) {
    try {
        return readPackAsText(packFile);
    } catch (const IoError& error) {
        throw FileError("read", packFile, error.errorNumber());
    }
}

ReadCollection readCollectionFile(const std::string& fileName) {
    return readLevelText(readFile(fileName, MaxCollectionBytes));
}

// Refuses to write over the file being read, whatever names the two go by.
void refuseSameFile(const std::string& input, const std::string& output) {
    if (isSameFile(input, output)) {
        throw ToolError("cannot write " + output + ": it is " + input +
                        ", the file being read; name another file");
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
    return "usage: quarbel-pack import COLLECTION.txt PACK.dat [--movies] [--force] [--strict]\n"
           "       quarbel-pack export PACK.dat [OUT.txt] [--movies]\n"
           "       quarbel-pack list PACK.dat|COLLECTION.txt\n"
           "       quarbel-pack solve PACK.dat|COLLECTION.txt [LEVEL] [--time SECONDS] [--movie]\n"
           "                          [--force]\n"
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

void appendReports(const std::vector<TextReport>& reports, std::string& report) {
    for (const TextReport& line : reports)
        report += line.message + "\n";
}

// A report that means the pack would not hold the file as it is.
bool losesSomething(const TextReport& report) {
    return report.kind == TextReport::Kind::SkippedLevel ||
           report.kind == TextReport::Kind::CutText ||
           report.kind == TextReport::Kind::ReplacedText ||
           report.kind == TextReport::Kind::RefusedSolution;
}

// "castle.dat", "coll.dat and coll-2.dat", "coll.dat to coll-40.dat (40 packs)"
std::string packNames(const std::vector<PackPart>& parts) {
    if (parts.size() == 1) return parts.front().fileName;
    if (parts.size() == 2) return parts[0].fileName + " and " + parts[1].fileName;
    return parts.front().fileName + " to " + parts.back().fileName + " (" +
           std::to_string(parts.size()) + " packs)";
}

std::string skippedPart(const ConvertedCollection& converted) {
    const int skipped = converted.levelsFound - static_cast<int>(converted.levels.size());
    return skipped > 0 ? "; skipped " + std::to_string(skipped) : "";
}

std::string levelLine(int number, const TextLevel& level, const std::string& author,
                      const std::string& title) {
    char line[96];
    std::snprintf(line, sizeof line, "%4d  %2zu x %-2zu  %2d crates  ", number, level.width(),
                  level.rows.size(), level.crates());
    std::string text = line + (author.empty() ? std::string(DefaultAuthor) : author);
    if (!title.empty()) text += "  '" + title + "'";
    return text + "\n";
}

std::string listPack(const std::string& packFile) {
    const LevelCollection pack = readPack(packFile);
    std::string text =
        "Title: " + pack.title + "\nLevels: " + std::to_string(pack.levels.size()) + "\n";
    for (std::size_t k = 0; k < pack.levels.size(); ++k) {
        const TextLevel& level = pack.levels[k];
        text += levelLine(static_cast<int>(k) + 1, level, level.author, "");
    }
    return text;
}

std::string listCollection(const std::string& fileName) {
    const ReadCollection read = readCollectionFile(fileName);
    const ConvertedCollection converted = convertCollection(read.collection, true);
    std::vector<TextReport> reports = read.reports;
    reports.insert(reports.end(), converted.reports.begin(), converted.reports.end());
    const std::vector<PackPart> parts = splitIntoPacks(converted, "PACK.dat", reports);
    std::string text = "Title: " + converted.title +
                       "\nLevels: " + std::to_string(converted.levelsFound) + " found, " +
                       std::to_string(converted.levels.size()) + " fit a pack\n";
    for (const ConvertedLevel& level : converted.levels) {
        const TextLevel& source = read.collection.levels[level.number - 1];
        text += levelLine(level.number, source, level.level.author, level.level.title);
    }
    appendReports(reports, text);
    const std::string packs =
        parts.size() == 1 ? "1 pack" : std::to_string(parts.size()) + " packs";
    text += "would import " + std::to_string(converted.levels.size()) + " of " +
            std::to_string(converted.levelsFound) + " levels into " + packs +
            skippedPart(converted) + "\n";
    return text;
}

// Every movie is written first and the disk flushed once for all of them.
void storeMovies(const std::vector<PackPart>& parts, bool force, std::string& report) {
    std::vector<FileContent> movies;
    std::vector<int> levelOfMovie;
    const auto refused = [&](int level, const std::string& why) {
        report += levelName(level, {}) + ": " + why + "\n";
    };
    for (const PackPart& part : parts) {
        for (std::size_t k = 0; k < part.levels.size(); ++k) {
            const ConvertedLevel& level = part.levels[k];
            if (level.solution.empty()) continue;
            try {
                movies.push_back(movieContent(movieFileOf(part.fileName, static_cast<int>(k) + 1),
                                              level.solution, force));
                levelOfMovie.push_back(level.number);
            } catch (const ToolError& failure) {
                refused(level.number, failure.what());
            }
        }
    }
    const std::vector<FileError> failures = replaceEach(movies);
    for (const FileError& failure : failures) {
        const auto movie = std::find_if(movies.begin(), movies.end(), [&](const auto& file) {
            return file.fileName == failure.fileName();
        });
        refused(levelOfMovie[static_cast<std::size_t>(movie - movies.begin())], failure.what());
    }
    const std::size_t stored = movies.size() - failures.size();
    report += "stored " + std::to_string(stored) + (stored == 1 ? " movie\n" : " movies\n");
}

}  // namespace

// Why a file in which no level was found is no collection at all, else "holds no level".
std::string noLevelIn(const std::string& sourceFile) {
    if (isPackFileName(sourceFile)) {
        return "cannot import " + sourceFile +
               ": it is a level pack, not a collection text (quarbel-pack export turns it into "
               "text)";
    }
    if (const std::string problem = notTextProblem(readFile(sourceFile, MaxCollectionBytes));
        !problem.empty()) {
        return "cannot import " + sourceFile + ": " + problem;
    }
    return sourceFile + " holds no level; nothing written";
}

void importCollection(const std::string& sourceFile, const std::string& packFile,
                      const ImportOptions& options, std::string& report) {
    const ReadCollection read = readCollectionFile(sourceFile);
    if (read.collection.levels.empty()) throw ToolError(noLevelIn(sourceFile));
    ConvertedCollection converted = convertCollection(read.collection, options.movies);
    std::vector<TextReport> reports = read.reports;
    reports.insert(reports.end(), converted.reports.begin(), converted.reports.end());
    if (options.strict) {
        const auto loss = std::find_if(reports.begin(), reports.end(), losesSomething);
        if (loss != reports.end()) throw ToolError(loss->message + "; nothing written (--strict)");
        if (converted.levels.size() > MaxPackLevels) {
            throw ToolError("the collection holds " + std::to_string(converted.levels.size()) +
                            " levels, a pack at most 255; nothing written (--strict)");
        }
    }
    const std::vector<PackPart> parts = splitIntoPacks(converted, packFile, reports);
    appendReports(reports, report);
    if (parts.empty()) {
        throw ToolError("no level of " + sourceFile + " fits a pack; nothing written");
    }
    std::vector<FileContent> files;
    for (const PackPart& part : parts) {
        refuseSameFile(sourceFile, part.fileName);
        files.push_back({part.fileName, bytesOf(packBytesOf(part))});
    }
    replaceAllOrNone(files);
    if (options.movies) storeMovies(parts, options.force, report);
    report += "imported " + std::to_string(converted.levels.size()) + " of " +
              std::to_string(converted.levelsFound) + " levels into " + packNames(parts) +
              skippedPart(converted) + "\n";
}

std::string exportPack(const std::string& packFile, bool movies, std::string& report) {
    LevelCollection pack = readPack(packFile);
    if (movies) {
        for (std::size_t k = 0; k < pack.levels.size(); ++k) {
            const std::string movie = movieFileOf(packFile, static_cast<int>(k) + 1);
            std::error_code error;
            if (!fs::exists(movie, error)) continue;
            try {
                pack.levels[k].solution = movieAsNotation(movie);
            } catch (const Error& failure) {  // damaged or unreadable: the levels still go out
                report += levelName(static_cast<int>(k) + 1, {}) + ": " + failure.what() +
                          "; exported without its solution\n";
            }
        }
    }
    return formatLevelText(pack);
}

std::string listFile(const std::string& fileName) {
    return isPackFileName(fileName) ? listPack(fileName) : listCollection(fileName);
}

LevelCollection levelsOfFile(const std::string& fileName) {
    return isPackFileName(fileName) ? readPack(fileName) : readCollectionFile(fileName).collection;
}

namespace {

// "--time SECONDS" taken out of the arguments; the default limits without it.
SolveLimits takeTimeLimit(std::vector<std::string>& arguments) {
    SolveLimits limits;
    const auto option = std::find(arguments.begin(), arguments.end(), "--time");
    if (option == arguments.end()) return limits;
    const auto value = option + 1;
    char* end = nullptr;
    const std::string text = value == arguments.end() ? "" : *value;
    limits.seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(limits.seconds > 0) || limits.seconds > 1e6) {
        throw ToolError("--time needs a number of seconds above 0");
    }
    arguments.erase(option, value + 1);
    return limits;
}

}  // namespace

int runPackTool(const std::vector<std::string>& arguments, std::string& out, std::string& err) {
    try {
        if (const auto answer = helpOrVersion(arguments, "quarbel-pack", usage())) {
            out += *answer;
            return 0;
        }
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
            const auto files = expect({"--movies", "--force", "--strict"}, 2, 2);
            const ImportOptions options{hasFlag(flags, "--movies"), hasFlag(flags, "--force"),
                                        hasFlag(flags, "--strict")};
            importCollection(files[0], files[1], options, out);
        } else if (command == "export") {
            const auto files = expect({"--movies"}, 1, 2);
            const std::string text = exportPack(files[0], hasFlag(flags, "--movies"), err);
            if (files.size() == 1) {
                out += text;
            } else {
                refuseSameFile(files[0], files[1]);
                replaceFile(files[1], text);
            }
        } else if (command == "list") {
            out += listFile(expect({}, 1, 1)[0]);
        } else if (command == "solve") {
            std::vector<std::string> options = rest;
            const SolveLimits limits = takeTimeLimit(options);
            const auto plain = plainArguments(options, {"--movie", "--force"}, flags);
            if (plain.empty() || plain.size() > 2) throw ToolError(usage());
            if (hasFlag(flags, "--movie") && !isPackFileName(plain[0])) {
                throw ToolError("--movie stores a movie beside a pack; import " + plain[0] +
                                " first");
            }
            if (plain.size() == 1) {
                const bool movies = hasFlag(flags, "--movie");
                const auto levels = levelsOfFile(plain[0]).levels.size();
                const int solved =
                    solveEveryLevel(plain[0], limits, movies, hasFlag(flags, "--force"), out);
                return solved == static_cast<int>(levels) ? 0 : 1;
            }
            const int level = levelNumberOf(plain[1]);
            const ProvenSolution solution = solveLevelOf(plain[0], level, limits);
            out += notationOf(solution.moves) + "\n";
            err += "level " + plain[1] + ": " + describeSolution(solution) + "\n";
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
