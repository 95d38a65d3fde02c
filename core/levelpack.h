// The level-pack file: a 32-byte header and 308-byte level records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/level.h"

namespace quarbel {

constexpr int PackHeaderSize = 32;
constexpr int LevelRecordSize = 308;
constexpr int MaxPackLevels = 255;
constexpr int MaxTitleBytes = 29;  // the title and its byte 13 fill the 30-byte field
constexpr int AuthorFieldSize = 12;
constexpr std::size_t MaxPackFileBytes = PackHeaderSize + MaxPackLevels * LevelRecordSize;
constexpr std::uint8_t PastEndByte = 26;  // what a byte beyond the end of the file reads as

// A title is read up to its byte 13; a damaged pack without one stops here.
constexpr std::size_t TitleReadLimit = 255;

// Shown when a level record carries no author signature.
inline constexpr std::string_view DefaultAuthor = "Unknown";

struct PackHeader {
    int levelCount = 0;
    std::string title;  // UTF-8, as shown: up to the first byte 13 or byte 0
};

// A level as its record holds it, without a title. A record may carry the "abc" signature
// before an empty name, which the game shows as it stands rather than as DefaultAuthor.
struct LevelRecord {
    Level level;  // its author empty without the signature
    bool hasAuthor = false;
};

// Both readers throw IoError when the file cannot be opened or read.
PackHeader readPackHeader(const std::string& fileName, std::size_t titleLimit = TitleReadLimit);
LevelRecord readLevelRecord(const std::string& fileName, int levelNumber);

// The offset of level k's record; a record that would start before the file starts at 0.
std::int64_t levelRecordOffset(int levelNumber);

// "levels.dat" gives "levels", "my.pack.dat" gives "my.pack".
std::string stripExtension(std::string_view fileName);

// Builds a pack file's bytes with zero reserved bytes; the levels' titles have no place
// there, and an empty author writes no signature. Throws GameError for a title over
// 29 or an author over 12 Windows-1252 bytes, a text Windows-1252 cannot hold, or more
// than 255 levels.
std::vector<std::uint8_t> encodePack(std::string_view title, const std::vector<Level>& levels);

}  // namespace quarbel
