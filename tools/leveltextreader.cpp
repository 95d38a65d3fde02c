#include "tools/leveltext.h"

#include <algorithm>
#include <optional>

#include "core/cp1252.h"
#include "core/direction.h"
#include "core/level.h"
#include "core/utf8.h"

namespace quarbel {

namespace {

// A count repeats the next character at most this often, and one line expands to at most
// this many cells or moves, so that a few bytes cannot ask for gigabytes.
constexpr int MaxCount = 9999;
constexpr std::size_t MaxBoardLineCells = 1024;
constexpr std::size_t MaxMovesLineLength = 65536;
constexpr std::size_t MaxKeyLength = 40;

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

}  // namespace

std::size_t TextLevel::width() const {
    std::size_t widest = 0;
    for (const std::string& row : rows)
        widest = std::max(widest, row.size());
    return widest;
}

int TextLevel::crates() const {
    int count = 0;
    for (const std::string& row : rows) {
        count += static_cast<int>(std::count_if(row.begin(), row.end(), [](char symbol) {
            return holdsCrate(squareOfSymbol(symbol).value_or(Square{}).cell);
        }));
    }
    return count;
}

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

std::string notTextProblem(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return "it is UTF-16 text; save it as UTF-8";
    }
    if (bytes.find('\0') != std::string_view::npos) return "it holds NUL bytes: it is no text";
    return {};
}

}  // namespace quarbel
