#include "leveltext.h"

#include <algorithm>
#include <filesystem>

#include "core/cp1252.h"

namespace quarbel {

namespace {

constexpr std::string_view BoardCharacters = "# $.*@+";
constexpr std::string_view CollectionKey = "Collection:";
constexpr std::string_view TitleKey = "Title:";
constexpr std::string_view AuthorKey = "Author:";

[[noreturn]] void refuse(int levelNumber, const std::string& reason) {
    throw LevelTextError("level " + std::to_string(levelNumber) + ": " + reason);
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// A pack's texts end at a byte 13 or 0, and the text format's lines at a line end.
bool holdsControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; });
}

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == line.npos;
}

// "Word: ..." lines carry data about the level rather than board rows.
bool isKeyLine(std::string_view line) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    return std::all_of(line.begin(), line.begin() + colon,
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string cp1252Bytes(const std::string& text, const std::string& what, int levelNumber) {
    std::string bytes;
    if (!utf8ToCp1252(text, bytes)) {
        refuse(levelNumber, what + " \"" + text + "\" holds a character a pack cannot store");
    }
    return bytes;
}

}  // namespace

LevelCollection parseLevelText(std::string_view text) {
    LevelCollection collection;
    bool inBlock = false;
    bool anyLevel = false;
    auto current = [&]() -> TextLevel& { return collection.levels.back(); };
    for (std::string_view line : linesOf(text)) {
        if (isBlank(line)) {
            inBlock = false;
            continue;
        }
        const int levelNumber = static_cast<int>(collection.levels.size()) + (inBlock ? 0 : 1);
        if (!anyLevel && line.starts_with(CollectionKey)) {
            if (!collection.title.empty()) throw LevelTextError("two Collection lines");
            collection.title = trimmed(line.substr(CollectionKey.size()));
            if (holdsControlCharacter(collection.title)) {
                throw LevelTextError("the collection title holds a control character");
            }
            continue;
        }
        if (!inBlock) {
            collection.levels.emplace_back();
            inBlock = true;
            anyLevel = true;
        }
        if (line.starts_with(TitleKey) || line.starts_with(AuthorKey)) {
            const bool isTitle = line.starts_with(TitleKey);
            std::string& field = isTitle ? current().title : current().author;
            if (!field.empty())
                refuse(levelNumber, isTitle ? "two Title lines" : "two Author lines");
            field = trimmed(line.substr(isTitle ? TitleKey.size() : AuthorKey.size()));
            if (holdsControlCharacter(field)) {
                refuse(levelNumber, std::string(isTitle ? "the title" : "the author") +
                                        " holds a control character");
            }
            continue;
        }
        if (isKeyLine(line)) refuse(levelNumber, "unknown line \"" + std::string(line) + "\"");
        std::string row(line);
        row.erase(row.find_last_not_of(' ') + 1);
        const auto bad = row.find_first_not_of(BoardCharacters);
        if (bad != std::string::npos) {
            refuse(levelNumber, "unknown character '" + row.substr(bad, 1) + "' in row " +
                                    std::to_string(current().rows.size() + 1));
        }
        current().rows.push_back(std::move(row));
    }
    for (std::size_t k = 0; k < collection.levels.size(); ++k) {
        if (collection.levels[k].rows.empty()) refuse(static_cast<int>(k) + 1, "no board rows");
    }
    return collection;
}

std::string formatLevelText(const LevelCollection& collection) {
    std::string text;
    if (!collection.title.empty())
        text += std::string(CollectionKey) + " " + collection.title + "\n";
    for (const TextLevel& level : collection.levels) {
        if (!text.empty()) text += '\n';
        for (const std::string& row : level.rows)
            text += row + '\n';
        if (!level.title.empty()) text += std::string(TitleKey) + " " + level.title + "\n";
        if (!level.author.empty()) text += std::string(AuthorKey) + " " + level.author + "\n";
    }
    return text;
}

PackLevel packLevelOf(const TextLevel& level, int levelNumber) {
    const int height = static_cast<int>(level.rows.size());
    int width = 0;
    for (const std::string& row : level.rows)
        width = std::max(width, static_cast<int>(row.size()));
    if (width > BoardSide) {
        refuse(levelNumber, std::to_string(width) + " columns wide, at most 15 fit");
    }
    if (height > BoardSide) {
        refuse(levelNumber, std::to_string(height) + " rows tall, at most 15 fit");
    }

    PackLevel pack;
    int keepers = 0;
    int crates = 0;
    int targets = 0;
    const int left = (BoardSide - width) / 2;
    const int top = (BoardSide - height) / 2;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < static_cast<int>(level.rows[r].size()); ++c) {
            const int x = left + c + 1;
            const int y = top + r + 1;
            const char symbol = level.rows[r][c];
            std::uint8_t& cell = pack.board.at(x, y);
            switch (symbol) {
                case '#':
                    cell = CellWall;
                    break;
                case '$':
                    cell = CellCrate;
                    break;
                case '.':
                    cell = CellTarget;
                    break;
                case '*':
                    cell = CellCrateOnTarget;
                    break;
                case '+':
                    cell = CellTarget;
                    break;
                case ' ':
                case '@':
                    break;
                default:
                    refuse(levelNumber, "unknown character '" + std::string(1, symbol) + "'");
            }
            crates += symbol == '$' || symbol == '*';
            targets += symbol == '.' || symbol == '*' || symbol == '+';
            if (symbol == '@' || symbol == '+') {
                ++keepers;
                pack.keeperX = x;
                pack.keeperY = y;
            }
        }
    }
    if (keepers == 0) refuse(levelNumber, "no keeper");
    if (keepers > 1) refuse(levelNumber, std::to_string(keepers) + " keepers, a level has one");
    if (crates != targets) {
        refuse(levelNumber,
               std::to_string(crates) + " crates but " + std::to_string(targets) + " targets");
    }
    if (crates == 0) refuse(levelNumber, "no crates");
    if (cp1252Bytes(level.author, "the author", levelNumber).size() > AuthorFieldSize) {
        refuse(levelNumber, "the author \"" + level.author + "\" is longer than 12 characters");
    }
    pack.author = level.author;
    return pack;
}

TextLevel textLevelOf(const LevelRecord& record, int levelNumber) {
    if (!onBoard(record.keeperX, record.keeperY))
        refuse(levelNumber, "the keeper is off the board");
    int left = record.keeperX, right = record.keeperX;
    int top = record.keeperY, bottom = record.keeperY;
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            const std::uint8_t cell = record.board.at(x, y);
            if (cell == CellEmpty) continue;
            if (cell != CellWall && cell != CellCrate && cell != CellTarget &&
                cell != CellCrateOnTarget) {
                refuse(levelNumber, "cell (" + std::to_string(x) + ", " + std::to_string(y) +
                                        ") holds the unknown code " + std::to_string(cell));
            }
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    const std::uint8_t under = record.board.at(record.keeperX, record.keeperY);
    if (under != CellEmpty && under != CellTarget) {
        refuse(levelNumber, "the keeper stands on a wall or a crate");
    }
    if (holdsControlCharacter(record.author)) {
        refuse(levelNumber, "the author holds a control character");
    }

    TextLevel level;
    level.author = record.author;
    for (int y = top; y <= bottom; ++y) {
        std::string row;
        for (int x = left; x <= right; ++x) {
            const bool keeper = x == record.keeperX && y == record.keeperY;
            switch (record.board.at(x, y)) {
                case CellWall:
                    row += '#';
                    break;
                case CellCrate:
                    row += '$';
                    break;
                case CellTarget:
                    row += keeper ? '+' : '.';
                    break;
                case CellCrateOnTarget:
                    row += '*';
                    break;
                default:
                    row += keeper ? '@' : ' ';
                    break;
            }
        }
        row.erase(row.find_last_not_of(' ') + 1);
        if (row.empty()) {
            refuse(levelNumber, "row " + std::to_string(y - top + 1) +
                                    " is empty, which text cannot show inside a level");
        }
        level.rows.push_back(std::move(row));
    }
    return level;
}

std::vector<std::uint8_t> packBytesOf(const LevelCollection& collection) {
    const std::size_t count = collection.levels.size();
    if (count == 0) throw LevelTextError("the collection holds no level");
    if (count > MaxPackLevels) {
        throw LevelTextError("the collection holds " + std::to_string(count) +
                             " levels, a pack at most 255");
    }
    std::string titleBytes;
    if (!utf8ToCp1252(collection.title, titleBytes)) {
        throw LevelTextError("the collection title holds a character a pack cannot store");
    }
    if (titleBytes.size() > MaxTitleBytes) {
        throw LevelTextError("the collection title \"" + collection.title +
                             "\" is longer than 29 characters");
    }
    std::vector<PackLevel> levels;
    for (std::size_t k = 0; k < count; ++k) {
        levels.push_back(packLevelOf(collection.levels[k], static_cast<int>(k) + 1));
    }
    return encodePack(collection.title, levels);
}

LevelCollection readPackAsText(const std::string& fileName) {
    const PackHeader header = readPackHeader(fileName);
    std::error_code error;
    const auto size = std::filesystem::file_size(fileName, error);
    const auto records =
        error ? 0 : (static_cast<std::int64_t>(size) - PackHeaderSize) / LevelRecordSize;
    if (records < header.levelCount) {
        throw LevelTextError("the pack names " + std::to_string(header.levelCount) +
                             " levels but holds " +
                             std::to_string(std::max<std::int64_t>(records, 0)));
    }
    if (holdsControlCharacter(header.title)) {
        throw LevelTextError("the pack title holds a control character");
    }
    LevelCollection collection;
    collection.title = header.title;
    for (int k = 1; k <= header.levelCount; ++k) {
        collection.levels.push_back(textLevelOf(readLevelRecord(fileName, k), k));
    }
    return collection;
}

}  // namespace quarbel
