#include "tools/leveltext.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/counted.h"
#include "core/cp1252.h"
#include "core/direction.h"
#include "core/level.h"
#include "tools/solver.h"

namespace quarbel {

namespace {

// A count repeats the next character at most this often, and one line expands to at most
// this many cells or moves, so that a few bytes cannot ask for gigabytes.
constexpr int MaxCount = 9999;
constexpr std::size_t MaxBoardLineCells = 1024;
constexpr std::size_t MaxMovesLineLength = 65536;
constexpr std::size_t MaxKeyLength = 40;

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowered(x) == lowered(y);
           });
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The length of the UTF-8 sequence at text[i], or 0 when it is malformed.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return 0;
    }
    // Overlong forms, surrogates and code points past U+10FFFF are no UTF-8.
    const auto second = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0);
    if (length == 2 && lead < 0xC2) return 0;
    if (length == 3 && ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0)))
        return 0;
    if (length == 4 &&
        ((lead == 0xF0 && second < 0x90) || lead > 0xF4 || (lead == 0xF4 && second >= 0x90))) {
        return 0;
    }
    return length;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

// Lines split at LF, CRLF or CR; a line end after the last line starts no empty line. A
// byte-order mark starting a line goes, as files joined into one keep theirs.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (lines.back().starts_with(Utf8ByteOrderMark)) {
            lines.back().remove_prefix(Utf8ByteOrderMark.size());
        }
        if (end == std::string_view::npos) break;
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return lines;
}

// A board line as rows of "# $.*@+", or false when the line is no board row.
bool boardRowsOf(std::string_view line, std::vector<std::string>& rows) {
    rows.assign(1, std::string());
    std::size_t cells = 0;
    int count = -1;
    bool wall = false;
    for (const char c : line) {
        if (isDigit(c)) {
            count = std::max(count, 0) * 10 + (c - '0');
            if (count > MaxCount) return false;
            continue;
        }
        if (c == '|') {
            if (count >= 0) return false;
            rows.emplace_back();
            continue;
        }
        char cell = 0;
        switch (c) {
            case '#':
            case '$':
            case '.':
            case '*':
            case '@':
            case '+':
            case ' ':
                cell = c;
                break;
            case '-':
            case '_':
                cell = ' ';
                break;
            case 'p':
                cell = '@';
                break;
            case 'P':
                cell = '+';
                break;
            case 'b':
                cell = '$';
                break;
            case 'B':
                cell = '*';
                break;
            default:
                return false;
        }
        const std::size_t times = count < 0 ? 1 : static_cast<std::size_t>(count);
        count = -1;
        cells += times;
        if (cells > MaxBoardLineCells) return false;
        rows.back().append(times, cell);
        wall = wall || (cell == '#' && times > 0);
    }
    if (count >= 0) return false;
    for (std::string& row : rows)
        row.erase(row.find_last_not_of(' ') + 1);
    return wall;
}

bool isBoardSymbol(char c) {
    return std::string_view("#$.*@+-_pPbB|").find(c) != std::string_view::npos;
}

// Why a line that is no board row is yet meant as one, so that the level around it is not
// cut there: "the count 999999999 is more than 9999", "'x' is no board character". Empty
// for a line of text.
std::string damagedRowProblem(std::string_view line) {
    if (line.find('\t') != std::string_view::npos) {
        std::string spaced(line);
        std::replace(spaced.begin(), spaced.end(), '\t', ' ');
        std::vector<std::string> rows;
        if (boardRowsOf(spaced, rows)) return "a tab stands among the squares; write spaces";
    }
    std::string strangers;
    std::string count;
    std::string largestCount;
    std::size_t cells = 0;
    int walls = 0;
    for (const char c : line) {
        if (isDigit(c)) {
            count += c;
            continue;
        }
        if (count.size() > largestCount.size() ||
            (count.size() == largestCount.size() && count > largestCount)) {
            largestCount = count;
        }
        const std::size_t times = count.empty()      ? 1
                                  : count.size() > 9 ? MaxBoardLineCells + 1
                                                     : std::stoul(count);
        count.clear();
        if (isBoardSymbol(c) || c == ' ' || c == '\t') {
            cells += std::min(times, MaxBoardLineCells + 1);
            walls += c == '#';
        } else {
            strangers += c;
        }
    }
    if (walls == 0) return {};
    if (strangers.empty()) {
        if (largestCount.size() > 4) {
            return "the count " + largestCount + " is more than " + std::to_string(MaxCount);
        }
        if (cells > MaxBoardLineCells) {
            return "the row is longer than " + std::to_string(MaxBoardLineCells) + " squares";
        }
        return {};
    }
    // A typo among the squares, not a line of words that happens to hold a '#'.
    if (walls >= 2 && strangers.size() <= 2 && cells >= 3) {
        return "'" + std::string(1, strangers.front()) + "' is no board character";
    }
    return {};
}

// A line of moves, counts expanded, or nothing when the line is something else.
std::optional<std::string> movesOf(std::string_view line) {
    std::string moves;
    int count = -1;
    for (const char c : line) {
        if (isDigit(c)) {
            count = std::max(count, 0) * 10 + (c - '0');
            if (count > MaxCount) return std::nullopt;
        } else if (c == ' ' || c == '\t') {
            if (count >= 0) return std::nullopt;
        } else if (codeOfNotationLetter(c) != 0) {
            moves.append(count < 0 ? 1 : static_cast<std::size_t>(count), c);
            count = -1;
            if (moves.size() > MaxMovesLineLength) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (count >= 0 || moves.empty()) return std::nullopt;
    return moves;
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "Date created: 2001" and the like: a key that starts with a letter and holds letters (any
// alphabet's) and a few marks, before a colon.
bool splitKeyLine(std::string_view line, std::string& key, std::string& value) {
    const std::string_view text = trimmed(line);
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    const std::string_view name = trimmed(text.substr(0, colon));
    if (name.empty() || name.size() > MaxKeyLength || !isAsciiLetter(name[0])) return false;
    const bool keyCharacters = std::all_of(name.begin(), name.end(), [](char c) {
        return isAsciiLetter(c) || static_cast<unsigned char>(c) >= 0x80 || c == ' ' || c == '-' ||
               c == '_' || c == '(' || c == ')';
    });
    if (!keyCharacters) return false;
    key = std::string(name);
    value = std::string(trimmed(text.substr(colon + 1)));
    return true;
}

// "Comment-End:" in any letter case, with "_" for "-" and spaces before the colon: the same
// key line that would otherwise be read as a key "Comment-End".
bool isCommentEnd(std::string_view line) {
    std::string key;
    std::string value;
    return splitKeyLine(line, key, value) &&
           (sameWord(key, "comment-end") || sameWord(key, "comment_end"));
}

std::string withoutQuotes(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '\'' || text.front() == '"') &&
        text.back() == text.front()) {
        text = trimmed(text.substr(1, text.size() - 2));
    }
    return std::string(text);
}

enum class LineKind { Blank, Board, Comment, Key, Moves, Free, Nothing };

struct ClassifiedLine {
    LineKind kind = LineKind::Blank;
    std::vector<std::string> rows;  // Board
    std::string damage;             // a Board line that is meant as a row but is none
    std::string text;               // Comment, Moves, Free; the value of Key
    std::string key;                // Key
};

std::vector<ClassifiedLine> classify(const std::vector<std::string_view>& lines,
                                     std::vector<TextReport>& reports) {
    std::vector<ClassifiedLine> classified(lines.size());
    std::size_t blockStart = 0;
    bool inBlock = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ClassifiedLine& out = classified[i];
        const std::string_view line = lines[i];
        const std::string_view text = trimmed(line);
        if (inBlock) {
            if (isCommentEnd(line)) {
                inBlock = false;
                out.kind = LineKind::Nothing;
            } else {
                out.kind = LineKind::Comment;
                out.text = std::string(text);
            }
        } else if (text.empty()) {
            out.kind = LineKind::Blank;
        } else if (text.front() == ';') {
            out.kind = LineKind::Comment;
            out.text = std::string(trimmed(text.substr(1)));
        } else if (boardRowsOf(line, out.rows)) {
            out.kind = LineKind::Board;
        } else if (splitKeyLine(line, out.key, out.text)) {
            out.kind = LineKind::Key;
            if (sameWord(out.key, "Comment")) {
                out.kind = out.text.empty() ? LineKind::Nothing : LineKind::Comment;
                inBlock = out.text.empty();
                blockStart = i;
            } else if (isCommentEnd(line)) {
                out.kind = LineKind::Nothing;  // an end without a start
            }
        } else if (auto moves = movesOf(line)) {
            out.kind = LineKind::Moves;
            out.text = std::move(*moves);
        } else {
            out.kind = LineKind::Free;
            out.text = std::string(text);
            if (const std::string problem = damagedRowProblem(line); !problem.empty()) {
                out.damage = "line " + std::to_string(i + 1) + ": " + problem;
            }
        }
    }
    // A damaged row beside a board row belongs to that level, which it keeps from being
    // imported in two halves.
    for (std::size_t i = 0; i < classified.size(); ++i) {
        ClassifiedLine& line = classified[i];
        if (line.damage.empty()) continue;
        const bool besideBoard =
            (i > 0 && classified[i - 1].kind == LineKind::Board) ||
            (i + 1 < classified.size() && classified[i + 1].kind == LineKind::Board);
        if (besideBoard) {
            line.kind = LineKind::Board;
            line.rows.clear();  // what was read before the fault
            line.text.clear();
        } else {
            line.damage.clear();
        }
    }
    if (inBlock) {
        reports.push_back({TextReport::Kind::Reading, 0,
                           "line " + std::to_string(blockStart + 1) +
                               ": the Comment block has no Comment-End, so the rest of the "
                               "file is read as comment"});
    }
    return classified;
}

// Crops the rows to the box that holds the level, as a pack gives it back: rows without a
// cell above and below it, and the indentation every row shares, go.
void cropRows(std::vector<std::string>& rows) {
    const auto isEmpty = [](const std::string& row) { return row.empty(); };
    rows.erase(rows.begin(), std::find_if_not(rows.begin(), rows.end(), isEmpty));
    rows.erase(std::find_if_not(rows.rbegin(), rows.rend(), isEmpty).base(), rows.end());
    std::size_t shared = std::string::npos;
    for (const std::string& row : rows) {
        if (!row.empty()) shared = std::min(shared, row.find_first_not_of(' '));
    }
    if (shared == 0 || shared == std::string::npos) return;
    for (std::string& row : rows) {
        if (!row.empty()) row.erase(0, shared);
    }
}

// Reads the classified lines into the collection: each level with what follows its board.
class CollectionBuilder {
  public:
    explicit CollectionBuilder(LevelCollection& collection) : collection_(collection) {}

    void read(const std::vector<ClassifiedLine>& lines) {
        const auto firstBoard =
            std::find_if(lines.begin(), lines.end(),
                         [](const ClassifiedLine& l) { return l.kind == LineKind::Board; });
        auto isFree = [&](std::size_t i) {
            if (i >= lines.size()) return false;
            const LineKind kind = lines[i].kind;
            // Before the first level a line of move letters is just text.
            return kind == LineKind::Free ||
                   (kind == LineKind::Moves && lines.begin() + i < firstBoard);
        };
        auto isBoard = [&](std::size_t i) {
            return i < lines.size() && lines[i].kind == LineKind::Board;
        };
        std::string pendingTitle;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const ClassifiedLine& line = lines[i];
            if (line.kind != LineKind::Moves) solutionOpen_ = false;
            switch (line.kind) {
                case LineKind::Board:
                    if (i == 0 || !isBoard(i - 1)) {
                        startLevel(static_cast<int>(i) + 1);
                        level().title = std::move(pendingTitle);
                        pendingTitle.clear();
                    }
                    level().rows.insert(level().rows.end(), line.rows.begin(), line.rows.end());
                    if (level().damage.empty()) level().damage = line.damage;
                    break;
                case LineKind::Moves:
                    if (isFree(i)) {
                        readFree(line.text, i, isFree, isBoard, pendingTitle);
                    } else {
                        readMoves(line.text);
                    }
                    break;
                case LineKind::Free:
                    readFree(line.text, i, isFree, isBoard, pendingTitle);
                    break;
                case LineKind::Key:
                    readKey(line.key, line.text);
                    break;
                case LineKind::Comment:
                    comments().push_back(line.text);
                    break;
                case LineKind::Blank:
                case LineKind::Nothing:
                    break;
            }
        }
        for (std::size_t k = 0; k < collection_.levels.size(); ++k) {
            TextLevel& level = collection_.levels[k];
            cropRows(level.rows);
            if (!authorGiven_[k]) level.author = collection_.author;
        }
    }

  private:
    LevelCollection& collection_;
    std::vector<bool> titleGiven_;  // by a Title line rather than free text
    std::vector<bool> authorGiven_;
    bool collectionTitleGiven_ = false;
    bool solutionOpen_ = false;

    bool inLevel() const { return !collection_.levels.empty(); }
    TextLevel& level() { return collection_.levels.back(); }
    std::vector<std::string>& comments() {
        return inLevel() ? level().comments : collection_.comments;
    }
    std::vector<TextProperty>& properties() {
        return inLevel() ? level().properties : collection_.properties;
    }

    void startLevel(int lineNumber) {
        collection_.levels.emplace_back();
        level().line = lineNumber;
        titleGiven_.push_back(false);
        authorGiven_.push_back(false);
    }

    // A single free line beside a board names that level; other free text is a comment.
    template <typename IsFree, typename IsBoard>
    void readFree(const std::string& text, std::size_t i, IsFree isFree, IsBoard isBoard,
                  std::string& pendingTitle) {
        const bool alone = !(i > 0 && isFree(i - 1)) && !isFree(i + 1);
        if (alone && isBoard(i + 1)) {
            pendingTitle = withoutQuotes(text);
        } else if (alone && i > 0 && isBoard(i - 1) && level().title.empty()) {
            level().title = withoutQuotes(text);
        } else {
            comments().push_back(text);
        }
    }

    void readMoves(const std::string& moves) {
        if (solutionOpen_) {
            level().solution += moves;
        } else if (level().solution.empty()) {
            level().solution = moves;
            solutionOpen_ = true;
        } else {
            properties().push_back({"Solution", moves});  // a second solution
        }
    }

    void readKey(const std::string& key, const std::string& value) {
        const bool title = sameWord(key, "Title") || (!inLevel() && sameWord(key, "Collection"));
        if ((title || sameWord(key, "Author")) && value.empty()) return;  // names nothing
        if (!inLevel()) {
            if (title && !collectionTitleGiven_) {
                collection_.title = value;
                collectionTitleGiven_ = true;
            } else if (sameWord(key, "Author") && collection_.author.empty()) {
                collection_.author = value;
            } else {
                properties().push_back({key, value});
            }
            return;
        }
        const std::size_t k = collection_.levels.size() - 1;
        if (title && !titleGiven_[k]) {
            if (!level().title.empty()) comments().push_back(level().title);
            level().title = value;
            titleGiven_[k] = true;
        } else if (sameWord(key, "Author") && !authorGiven_[k]) {
            level().author = value;
            authorGiven_[k] = true;
        } else if (sameWord(key.substr(0, std::min<std::size_t>(key.size(), 8)), "Solution") &&
                   level().solution.empty() && (value.empty() || movesOf(value))) {
            level().solution = value.empty() ? std::string() : *movesOf(value);
            solutionOpen_ = true;
        } else {
            properties().push_back({key, value});
        }
    }
};

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// "level 12 'The Long Hall'" or "level 12".
std::string levelName(int number, std::string_view title) {
    std::string name = "level " + std::to_string(number);
    if (!title.empty()) name += " '" + std::string(title) + "'";
    return name;
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
    const std::string extension = ".dat";
    if (packFile.size() > extension.size() &&
        sameWord(std::string_view(packFile).substr(packFile.size() - extension.size()),
                 extension)) {
        return packFile.substr(0, packFile.size() - extension.size()) + suffix +
               packFile.substr(packFile.size() - extension.size());
    }
    return packFile + suffix;
}

[[noreturn]] void refuse(int levelNumber, const std::string& reason) {
    throw LevelTextError("level " + std::to_string(levelNumber) + ": " + reason);
}

bool holdsControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; });
}

}  // namespace

ReadCollection readLevelText(std::string_view bytes) {
    ReadCollection read;
    if (bytes.starts_with(Utf8ByteOrderMark)) bytes.remove_prefix(Utf8ByteOrderMark.size());
    std::string decoded;
    if (!isUtf8(bytes)) {
        decoded = cp1252ToUtf8(bytes);
        bytes = decoded;
        read.reports.push_back(
            {TextReport::Kind::Reading, 0, "read as Windows-1252, as it is not UTF-8"});
    }
    const std::vector<ClassifiedLine> lines = classify(linesOf(bytes), read.reports);
    CollectionBuilder(read.collection).read(lines);
    return read;
}

std::string formatLevelText(const LevelCollection& collection) {
    std::string text;
    auto line = [&](std::string_view key, std::string_view value) {
        if (!value.empty()) text.append(key).append(": ").append(value).append("\n");
    };
    auto extras = [&](const std::vector<TextProperty>& properties,
                      const std::vector<std::string>& comments) {
        for (const TextProperty& property : properties)
            text.append(property.key).append(": ").append(property.value).append("\n");
        for (const std::string& comment : comments)
            text.append(comment.empty() ? ";" : "; " + comment).append("\n");
    };
    line("Title", collection.title);
    line("Author", collection.author);
    extras(collection.properties, collection.comments);
    for (const TextLevel& level : collection.levels) {
        if (!text.empty()) text += '\n';
        const bool everyRowHasAWall =
            std::all_of(level.rows.begin(), level.rows.end(),
                        [](const std::string& row) { return row.find('#') != std::string::npos; });
        if (everyRowHasAWall) {
            for (const std::string& row : level.rows)
                text.append(row).append("\n");
        } else {
            // A row without a wall would not read as a board row on a line of its own.
            for (std::size_t r = 0; r < level.rows.size(); ++r) {
                if (r > 0) text += '|';
                std::string row = level.rows[r];
                std::replace(row.begin(), row.end(), ' ', '-');
                text += row;
            }
            text += '\n';
        }
        line("Title", level.title);
        line("Author", level.author);
        line("Solution", level.solution);
        extras(level.properties, level.comments);
    }
    return text;
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

std::optional<std::vector<std::uint16_t>> solutionCodes(std::string_view letters) {
    std::vector<std::uint16_t> codes;
    codes.reserve(letters.size());
    for (const char letter : letters) {
        const int code = codeOfNotationLetter(letter);
        if (code == 0) return std::nullopt;
        codes.push_back(static_cast<std::uint16_t>(code));
    }
    return codes;
}

std::optional<std::string> solutionLetters(const std::vector<std::uint16_t>& codes) {
    std::string letters;
    letters.reserve(codes.size());
    for (const std::uint16_t code : codes) {
        const char letter = notationLetter(code);
        if (letter == 0) return std::nullopt;
        letters += letter;
    }
    return letters;
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
            } else if (const auto codes = solutionCodes(text.solution);
                       codes && replaySolves(level.level.board, level.level.keeperX,
                                             level.level.keeperY, *codes)) {
                level.solution = *codes;
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
    int left = level.keeperX, right = level.keeperX;
    int top = level.keeperY, bottom = level.keeperY;
    bool wall = false;
    if (const auto unknown = unknownCellProblem(level.board)) refuse(levelNumber, *unknown);
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            const std::uint8_t cell = level.board.at(x, y);
            if (cell == CellEmpty) continue;
            wall = wall || cell == CellWall;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    const std::uint8_t under = level.board.at(level.keeperX, level.keeperY);
    if (!isWalkable(under)) refuse(levelNumber, "the keeper stands on a wall or a crate");
    // Text tells a board from other lines by its walls.
    if (!wall) refuse(levelNumber, "the level has no wall, which text cannot show");
    if (holdsControlCharacter(level.author))
        refuse(levelNumber, "the author holds a control character");

    TextLevel text;
    text.title = level.title;
    text.author = level.author;
    for (int y = top; y <= bottom; ++y) {
        std::string row;
        for (int x = left; x <= right; ++x)
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

std::string notTextProblem(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return "it is UTF-16 text; save it as UTF-8";
    }
    if (bytes.find('\0') != std::string_view::npos) return "it holds NUL bytes: it is no text";
    return {};
}

}  // namespace quarbel
