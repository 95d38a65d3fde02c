// Movie files: the recorded solution of one level, one digit "1" to "8" per step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarbel {

// "PACK1/ZORP0007.MOV" for the pack name "PACK1" and the level text "7": the folder named
// after the pack, beside it, and the level number padded to four digits.
std::string movieFileName(std::string_view packName, std::string_view levelText);

// Whether the pack's name can name a movie folder inside the working folder: not empty, not
// "." or "..", and no "/" in it.
bool isMovieFolderName(std::string_view packName);

// The stored movie of a level as it is found in the working folder, letter case ignored as
// the old platform did, or the name it is to be stored under; nothing when the pack's name
// cannot name a movie folder.
std::optional<std::string> storedMovieName(std::string_view packName, std::string_view levelText);

// The first maxCodes bytes of a movie file as codes (byte - 48); the rest of a longer file
// is not read. Nothing when the file cannot be opened or is not a regular file. Throws
// IoError when a read fails after the file was opened.
std::optional<std::vector<std::uint16_t>> readMovieFile(const std::string& fileName,
                                                        std::size_t maxCodes);

// The size of a stored movie in bytes, 0 when there is none, it is not a regular file or it
// cannot be opened for reading and writing.
std::int64_t movieFileSize(const std::string& fileName);

// The bytes of a movie file: the codes as digits.
std::string movieBytes(std::span<const std::uint16_t> codes);

// Writes the codes as digits. The file appears complete or not at all: the new movie is
// written into a part file of its own beside the old one and put in its place only when it is
// whole, so a failed save leaves the stored movie as it was and no part file behind. A movie
// that is a symbolic link is written through to the file it points to; a stored movie that
// cannot be opened for writing (made read-only, a folder, a FIFO) is not replaced. Throws
// IoError.
void writeMovieFile(const std::string& fileName, std::span<const std::uint16_t> codes);

}  // namespace quarbel
