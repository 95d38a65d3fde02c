// The common plain-text level format, and its conversion to and from pack levels.
//
// A collection file holds an optional first line "Collection: TITLE" and then levels, one
// block of lines each, blocks separated by blank lines. A block is the board rows ("#" wall,
// " " floor, "$" crate, "." target, "*" crate on a target, "@" keeper, "+" keeper on a
// target) followed by optional "Title: ..." and "Author: ..." lines.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/levelpack.h"

namespace quarbel {

// A level or collection the pack cannot hold; the message names the level and the reason.
class LevelTextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct TextLevel {
    std::vector<std::string> rows;  // trailing spaces trimmed
    std::string title;              // a pack has no room for it; kept only in text
    std::string author;
};

struct LevelCollection {
    std::string title;
    std::vector<TextLevel> levels;
};

// Reads a collection file. Throws LevelTextError for an unknown character or line, or a
// title or author holding a control character (a pack's texts end at byte 0 or 13).
LevelCollection parseLevelText(std::string_view text);

// The canonical text: the collection line, a blank line, then each level's rows with its
// Title and Author lines, one blank line between levels and a line end after the last.
std::string formatLevelText(const LevelCollection& collection);

// The level centred in the 15 x 15 grid: shifted right by (15 - width) / 2 and down by
// (15 - height) / 2. Throws LevelTextError, naming levelNumber, for a level the pack
// cannot hold.
PackLevel packLevelOf(const TextLevel& level, int levelNumber);

// The level cropped to the smallest box that holds every wall, crate, target and the
// keeper. Throws LevelTextError for a keeper off the board or on a wall or crate, a cell
// that is none of the five codes, or a blank row inside that box, which text cannot show.
TextLevel textLevelOf(const LevelRecord& record, int levelNumber);

// The pack file's bytes, every level checked before anything is built.
std::vector<std::uint8_t> packBytesOf(const LevelCollection& collection);

// Every level of a pack file, read back as text. Throws LevelTextError for a pack shorter
// than its level count says or a title holding a control character, and IoError when it
// cannot be read.
LevelCollection readPackAsText(const std::string& fileName);

}  // namespace quarbel
