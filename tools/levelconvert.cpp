#include "tools/levelconvert.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/counted.h"
#include "core/cp1252.h"
#include "core/direction.h"
#include "core/filefinder.h"
#include "core/utf8.h"
#include "tools/solver.h"

namespace quarbel {

namespace {

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Reports a cut or replaced text once per distinct text.
class TextFitter {
  public:
    explicit TextFitter(std::vector<TextReport>& reports) : reports_(reports) {}

    std::string fit(const std::string& text, std::size_t maxCharacters, const std::string& what,
                    int level) {
        const FittedText fitted = fitPackText(text, maxCharacters);
        if ((fitted.cut || fitted.replaced > 0) && reported_.insert(what + '\n' + text).second) {
            if (fitted.replaced > 0) {
                reports_.push_back({TextReport::Kind::ReplacedText, level,
                                    what + " " + inQuotes(text) + ": " +
                                        std::to_string(fitted.replaced) +
                                        (fitted.replaced == 1 ? " character" : " characters") +
                                        " that a pack cannot store became \"?\""});
            }
            if (fitted.cut) {
                reports_.push_back({TextReport::Kind::CutText, level,
                                    what + " " + inQuotes(text) + " is cut to " +
                                        inQuotes(fitted.text) + " (" +
                                        std::to_string(maxCharacters) + " characters)"});
            }
        }
        return fitted.text;
    }

  private:
    std::vector<TextReport>& reports_;
    std::set<std::string> reported_;
};

// "a, b and c"
std::string listed(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (k > 0) text += k + 1 == parts.size() ? " and " : ", ";
        text += parts[k];
    }
    return text;
}

std::string partFileName(const std::string& packFile, std::size_t part) {
    if (part == 1) return packFile;
    const std::string suffix = "-" + std::to_string(part);
    const std::size_t extension = std::string_view(".dat").size();
    if (packFile.size() > extension && isPackFileName(packFile)) {
        return packFile.substr(0, packFile.size() - extension) + suffix +
               packFile.substr(packFile.size() - extension);
    }
    return packFile + suffix;
}

[[noreturn]] void refuse(int levelNumber, const std::string& reason) {
    throw LevelTextError(levelName(levelNumber, {}) + ": " + reason);
}

bool holdsControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; });
}

}  // namespace

std::string levelName(int number, std::string_view title) {
    std::string name = "level " + std::to_string(number);
    if (!title.empty()) name += " '" + std::string(title) + "'";
    return name;
}

FittedText fitPackText(std::string_view utf8, std::size_t maxCharacters) {
    FittedText fitted;
    std::size_t characters = 0;
    std::string bytes;
    utf8 = trimmed(utf8);
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = utf8SequenceLength(utf8, i);
        const bool storable = length > 0 && static_cast<unsigned char>(utf8[i]) >= ' ' &&
                              utf8ToCp1252(utf8.substr(i, length), bytes);
        if (length == 0) length = 1;
        if (characters == maxCharacters) {
            fitted.cut = true;
            break;
        }
        if (storable) {
            fitted.text.append(utf8.substr(i, length));
        } else {
            fitted.text += '?';
            ++fitted.replaced;
        }
        ++characters;
        i += length;
    }
    fitted.text.erase(fitted.text.find_last_not_of(' ') + 1);
    return fitted;
}

PackLevelResult packLevelOf(const TextLevel& text) {
    if (!text.damage.empty()) return {std::nullopt, text.damage};
    const int height = static_cast<int>(text.rows.size());
    int width = 0;
    for (const std::string& row : text.rows)
        width = std::max(width, static_cast<int>(row.size()));
    if (width > BoardSide || height > BoardSide) {
        return {std::nullopt,
                std::to_string(width) + " x " + std::to_string(height) + " is larger than 15 x 15"};
    }

    Level level;
    level.title = text.title;
    int keepers = 0;
    const int left = (BoardSide - width) / 2;
    const int top = (BoardSide - height) / 2;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < static_cast<int>(text.rows[r].size()); ++c) {
            const char symbol = text.rows[r][c];
            const std::optional<Square> square = squareOfSymbol(symbol);
            if (!square)
                return {std::nullopt, "unknown character '" + std::string(1, symbol) + "'"};
            const int x = left + c + 1;
            const int y = top + r + 1;
            level.board.at(x, y) = square->cell;
            if (square->keeper) {
                ++keepers;
                level.keeperX = x;
                level.keeperY = y;
            }
        }
    }
    if (keepers > 1) return {std::nullopt, std::to_string(keepers) + " keepers, a level has one"};
    if (const std::vector<std::string> problems = levelProblems(level); !problems.empty())
        return {std::nullopt, problems.front()};
    level.author = fitPackText(text.author, AuthorFieldSize).text;
    return {level, {}};
}

std::vector<std::uint16_t> movesOfNotation(std::string_view notation) {
    std::vector<std::uint16_t> moves;
    moves.reserve(notation.size());
    for (std::size_t i = 0; i < notation.size(); ++i) {
        const char symbol = notation[i];
        if (symbol == ' ' || symbol == '\n' || symbol == '\r' || symbol == '\t') continue;
        const int code = codeOfNotationLetter(symbol);
        if (code == 0) {
            throw LevelTextError("unknown move '" + std::string(1, symbol) + "' at position " +
                                 std::to_string(i + 1));
        }
        moves.push_back(static_cast<std::uint16_t>(code));
    }
    return moves;
}

ConvertedCollection convertCollection(const LevelCollection& collection, bool checkSolutions) {
    ConvertedCollection converted;
    TextFitter fitter(converted.reports);
    converted.title = fitter.fit(collection.title, MaxTitleBytes, "the title", 0);
    converted.levelsFound = static_cast<int>(collection.levels.size());
    int titles = 0;
    int comments = static_cast<int>(collection.comments.size());
    int properties = static_cast<int>(collection.properties.size());
    int solutionsLeftOut = 0;
    for (std::size_t k = 0; k < collection.levels.size(); ++k) {
        const TextLevel& text = collection.levels[k];
        const int number = static_cast<int>(k) + 1;
        const std::string name = levelName(number, text.title);
        PackLevelResult result = packLevelOf(text);
        if (!result.level) {
            converted.reports.push_back(
                {TextReport::Kind::SkippedLevel, number, name + ": " + result.reason});
            continue;
        }
        fitter.fit(text.author, AuthorFieldSize, "the author", number);
        ConvertedLevel level{number, std::move(*result.level), {}};
        titles += !text.title.empty();
        comments += static_cast<int>(text.comments.size());
        properties += static_cast<int>(text.properties.size());
        if (!text.solution.empty()) {
            ++converted.solutionsFound;
            if (!checkSolutions) {
                ++solutionsLeftOut;
            } else if (text.solution.size() > HistoryCapacity) {
                converted.reports.push_back({TextReport::Kind::RefusedSolution, number,
                                             name + ": the solution holds " +
                                                 std::to_string(text.solution.size()) +
                                                 " moves, a movie at most 5000; not stored"});
            } else if (const auto moves = movesOfNotation(text.solution); replaySolves(
                           level.level.board, level.level.keeperX, level.level.keeperY, moves)) {
                level.solution = moves;
            } else {
                converted.reports.push_back(
                    {TextReport::Kind::RefusedSolution, number,
                     name + ": the solution does not solve the level; not stored"});
            }
        }
        converted.levels.push_back(std::move(level));
    }
    std::vector<std::string> leftOut;
    if (titles > 0) leftOut.push_back(counted(titles, "level title", "level titles"));
    if (comments > 0) leftOut.push_back(counted(comments, "comment line", "comment lines"));
    if (properties > 0)
        leftOut.push_back(counted(properties, "other key: value line", "other key: value lines"));
    if (solutionsLeftOut > 0) leftOut.push_back(counted(solutionsLeftOut, "solution", "solutions"));
    if (!leftOut.empty()) {
        converted.reports.push_back(
            {TextReport::Kind::LeftOut, 0,
             "left out, as a pack has no place for them: " + listed(leftOut)});
    }
    return converted;
}

std::vector<PackPart> splitIntoPacks(const ConvertedCollection& collection,
                                     const std::string& packFile,
                                     std::vector<TextReport>& reports) {
    const std::size_t count = collection.levels.size();
    const std::size_t parts = (count + MaxPackLevels - 1) / MaxPackLevels;
    std::string base = collection.title;
    if (parts > 1 && !base.empty()) {
        const std::size_t room =
            MaxTitleBytes -
            (" (" + std::to_string(parts) + "/" + std::to_string(parts) + ")").size();
        TextFitter fitter(reports);
        base = fitter.fit(base, room, "the title of each part", 0);
    }
    std::vector<PackPart> packs(parts);
    for (std::size_t p = 0; p < parts; ++p) {
        PackPart& part = packs[p];
        part.fileName = partFileName(packFile, p + 1);
        const std::string number = std::to_string(p + 1) + "/" + std::to_string(parts);
        part.title = parts == 1     ? base
                     : base.empty() ? "Part " + number
                                    : base + " (" + number + ")";
        const auto first =
            collection.levels.begin() + static_cast<std::ptrdiff_t>(p * MaxPackLevels);
        part.levels.assign(first, first + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                                              MaxPackLevels, count - p * MaxPackLevels)));
    }
    return packs;
}

std::vector<std::uint8_t> packBytesOf(const PackPart& part) {
    std::vector<Level> levels;
    levels.reserve(part.levels.size());
    for (const ConvertedLevel& level : part.levels)
        levels.push_back(level.level);
    return encodePack(part.title, levels);
}

TextLevel textLevelOf(const Level& level, int levelNumber) {
    if (!level.hasKeeper()) refuse(levelNumber, "the keeper is off the board");
    if (const auto unknown = unknownCellProblem(level.board)) refuse(levelNumber, *unknown);
    const bool wall = std::find(level.board.cells.begin(), level.board.cells.end(), CellWall) !=
                      level.board.cells.end();
    const std::uint8_t under = level.board.at(level.keeperX, level.keeperY);
    if (!isWalkable(under)) refuse(levelNumber, "the keeper stands on a wall or a crate");
    // Text tells a board from other lines by its walls.
    if (!wall) refuse(levelNumber, "the level has no wall, which text cannot show");
    if (holdsControlCharacter(level.author))
        refuse(levelNumber, "the author holds a control character");

    TextLevel text;
    text.title = level.title;
    text.author = level.author;
    const Rect box = extentOf(level);
    for (int y = box.top; y < box.bottom(); ++y) {
        std::string row;
        for (int x = box.left; x < box.right(); ++x)
            row += symbolOf({level.board.at(x, y), x == level.keeperX && y == level.keeperY});
        row.erase(row.find_last_not_of(' ') + 1);
        text.rows.push_back(std::move(row));
    }
    return text;
}

std::string packTooShort(std::uintmax_t size) {
    if (size >= PackHeaderSize) return {};
    return "the file is too short to be a pack: " + std::to_string(size) +
           (size == 1 ? " byte" : " bytes") + ", where a pack's header alone takes 32";
}

LevelCollection readPackAsText(const std::string& fileName) {
    const PackHeader header = readPackHeader(fileName);
    std::error_code error;
    const auto size = std::filesystem::file_size(fileName, error);
    if (!error && !packTooShort(size).empty()) throw LevelTextError(packTooShort(size));
    const auto records =
        error ? 0 : (static_cast<std::int64_t>(size) - PackHeaderSize) / LevelRecordSize;
    if (records < header.levelCount) {
        throw LevelTextError("the pack names " + std::to_string(header.levelCount) +
                             " levels but holds " +
                             std::to_string(std::max<std::int64_t>(records, 0)));
    }
    // A title runs to its byte 13; one that runs on past its field took the levels' bytes.
    if (std::string titleBytes;
        utf8ToCp1252(header.title, titleBytes) && titleBytes.size() > MaxTitleBytes) {
        throw LevelTextError("the pack title has no end: its byte 13 is missing");
    }
    if (holdsControlCharacter(header.title))
        throw LevelTextError("the pack title holds a control character");
    LevelCollection collection;
    collection.title = header.title;
    for (int k = 1; k <= header.levelCount; ++k) {
        collection.levels.push_back(textLevelOf(readLevelRecord(fileName, k).level, k));
    }
    return collection;
}

}  // namespace quarbel
