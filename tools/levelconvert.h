// Level collections turned into packs and packs into collections: what a pack field can
// store of a text, where a level stands in the 15 x 15 grid, which solutions replay, and how
// a collection of more than 255 levels is split into packs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/level.h"
#include "core/levelpack.h"
#include "tools/leveltext.h"

namespace quarbel {

// "level 12 'The Long Hall'", or "level 12" for a level without a title.
std::string levelName(int number, std::string_view title);

// A text as a pack field stores it: control characters and characters Windows-1252 cannot
// hold become "?", then it is cut to maxCharacters at a character boundary and trailing
// spaces are trimmed.
struct FittedText {
    std::string text;  // UTF-8
    bool cut = false;
    int replaced = 0;  // characters stored as "?"
};
FittedText fitPackText(std::string_view utf8, std::size_t maxCharacters);

// The level with its title, or why a pack cannot hold it: "21 x 9 is larger than 15 x 15",
// "2 keepers, a level has one", or the first of levelProblems. The level is centred in the
// 15 x 15 grid, shifted right by (15 - width) / 2 and down by (15 - height) / 2; its author
// is fitted to 12 characters.
struct PackLevelResult {
    std::optional<Level> level;
    std::string reason;  // empty when the level fits
};
PackLevelResult packLevelOf(const TextLevel& level);

// Why a file of this size is no pack: "the file is too short to be a pack: 0 bytes, ...";
// empty when it could be one.
std::string packTooShort(std::uintmax_t size);

// The history codes of moves in the common solution notation, "udrl" for walks and "UDRL" for
// pushes; spaces, tabs and line ends between them are skipped. Throws LevelTextError "unknown
// move 'x' at position 3" for any other character.
std::vector<std::uint16_t> movesOfNotation(std::string_view notation);

struct ConvertedLevel {
    int number = 0;  // in the file, 1-based, counting every level found
    Level level;     // with its title, which a pack has no place for
    // The solution's history codes, checked to replay through the move engine to a solved
    // board within the 5000 moves a movie holds; empty when there is none or it was refused.
    std::vector<std::uint16_t> solution;
};

struct ConvertedCollection {
    std::string title;                   // UTF-8, fitted to the 29 characters of a pack
    std::vector<ConvertedLevel> levels;  // every level a pack can hold, in file order
    int levelsFound = 0;
    int solutionsFound = 0;           // levels that carried a solution, checked or not
    std::vector<TextReport> reports;  // all but Reading; each cut or replaced text once
};

// Never throws. Solutions are checked only when checkSolutions is set (it replays each).
ConvertedCollection convertCollection(const LevelCollection& collection, bool checkSolutions);

// One pack file of an import: 255 levels at most.
struct PackPart {
    std::string fileName;  // "coll.dat", then "coll-2.dat", "coll-3.dat", ...
    std::string title;     // with "(2/3)" when the collection is split, within 29 characters
    std::vector<ConvertedLevel> levels;
};

// The converted levels in packs of at most 255, named after packFile. A split collection's
// title is cut to leave room for the part number, reported in reports.
std::vector<PackPart> splitIntoPacks(const ConvertedCollection& collection,
                                     const std::string& packFile, std::vector<TextReport>& reports);

// The pack file's bytes of one part.
std::vector<std::uint8_t> packBytesOf(const PackPart& part);

// The level with its title and author, cropped to the smallest box that holds every wall,
// crate, target and the keeper. Throws LevelTextError for a keeper off the board or on a
// wall or crate, or a cell that is none of the five codes.
TextLevel textLevelOf(const Level& level, int levelNumber);

// Every level of a pack file, read back as text, without solutions. Throws LevelTextError
// for a file too short to be a pack, a pack shorter than its level count says or a title
// holding a control character, and
// IoError when it cannot be read.
LevelCollection readPackAsText(const std::string& fileName);

}  // namespace quarbel
