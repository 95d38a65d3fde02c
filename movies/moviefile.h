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

// The first maxCodes bytes of a movie file as codes (byte - 48); the rest of a longer file
// is not read. Nothing when the file cannot be opened. Throws IoError when a read fails
// after the file was opened.
std::optional<std::vector<std::uint16_t>> readMovieFile(const std::string& fileName,
                                                        std::size_t maxCodes);

// The size of a stored movie in bytes, 0 when there is none or it cannot be opened.
std::int64_t movieFileSize(const std::string& fileName);

// Writes the codes as digits. The file appears complete or not at all: the new movie is
// written beside the old one and put in its place only when it is whole, so a failed save
// leaves the stored movie as it was. Throws IoError.
void writeMovieFile(const std::string& fileName, std::span<const std::uint16_t> codes);

}  // namespace quarbel
