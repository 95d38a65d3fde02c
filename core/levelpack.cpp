#include "core/levelpack.h"

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/cp1252.h"
#include "core/filefinder.h"
#include "core/gameerror.h"

namespace quarbel {

namespace {

// Where the fields stand, in bytes from the start of the file or of a level record. The
// bytes between them are reserved: written as 0, never read.
constexpr int LevelCountOffset = 1;
constexpr int TitleOffset = 2;  // the title, its byte 13 and, when there is room, a byte 10
constexpr int KeeperXOffset = 0;
constexpr int KeeperYOffset = 2;
constexpr int SignatureOffset = 3;  // "abc" when the record carries an author
constexpr int AuthorOffset = 6;
constexpr int BoardOffset = 83;  // 15 x 15 cell codes, row by row

constexpr std::uint8_t SignatureBytes[3] = {97, 98, 99};  // "abc"
constexpr std::uint8_t TitleEnd = 13;
constexpr std::uint8_t TitleLineFeed = 10;

int boardByte(int x, int y) {
    return BoardOffset + BoardSide * (y - 1) + (x - 1);
}

OpenFile openForReading(const std::string& fileName) {
    OpenFile file = openRegularForReading(fileName);
    if (!file) throw IoError(errno);
    return file;
}

// Reads count bytes from offset on; bytes beyond the end of the file read as 26.
std::vector<std::uint8_t> readAt(std::FILE* file, std::int64_t offset, std::size_t count) {
    std::vector<std::uint8_t> bytes(count, PastEndByte);
    errno = 0;
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) throw IoError(errno);
    const std::size_t got = std::fread(bytes.data(), 1, count, file);
    if (got < count && std::ferror(file)) throw IoError(errno ? errno : EIO);
    return bytes;
}

std::string shownText(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t limit) {
    std::string raw;
    for (std::size_t i = from; i < bytes.size() && raw.size() < limit; ++i) {
        if (bytes[i] == TitleEnd || bytes[i] == 0) break;
        raw += static_cast<char>(bytes[i]);
    }
    return cp1252ToUtf8(raw);
}

}  // namespace

std::int64_t levelRecordOffset(int levelNumber) {
    const std::int64_t offset =
        PackHeaderSize + std::int64_t{LevelRecordSize} * (std::int64_t{levelNumber} - 1);
    return offset > 0 ? offset : 0;
}

PackHeader readPackHeader(const std::string& fileName, std::size_t titleLimit) {
    OpenFile file = openForReading(fileName);
    const auto countByte = readAt(file.get(), LevelCountOffset, 1);
    // The title ends at its byte 13 or at the end of the file, never at a byte 26.
    std::vector<std::uint8_t> title(titleLimit);
    errno = 0;
    if (std::fseek(file.get(), TitleOffset, SEEK_SET) != 0) throw IoError(errno);
    title.resize(std::fread(title.data(), 1, title.size(), file.get()));
    if (std::ferror(file.get())) throw IoError(errno ? errno : EIO);
    return {countByte[0], shownText(title, 0, titleLimit)};
}

LevelRecord readLevelRecord(const std::string& fileName, int levelNumber) {
    OpenFile file = openForReading(fileName);
    const auto bytes = readAt(file.get(), levelRecordOffset(levelNumber), LevelRecordSize);
    LevelRecord record;
    record.level.keeperX = bytes[KeeperXOffset];
    record.level.keeperY = bytes[KeeperYOffset];
    record.hasAuthor = std::equal(std::begin(SignatureBytes), std::end(SignatureBytes),
                                  bytes.begin() + SignatureOffset);
    if (record.hasAuthor) record.level.author = shownText(bytes, AuthorOffset, AuthorFieldSize);
    for (int y = 1; y <= BoardSide; ++y) {
        for (int x = 1; x <= BoardSide; ++x)
            record.level.board.at(x, y) = bytes[boardByte(x, y)];
    }
    return record;
}

std::string stripExtension(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

std::vector<std::uint8_t> encodePack(std::string_view title, const std::vector<Level>& levels) {
    if (levels.size() > MaxPackLevels) {
        throw GameError("a pack holds at most 255 levels, not " + std::to_string(levels.size()));
    }
    std::string titleBytes;
    if (!utf8ToCp1252(title, titleBytes)) {
        throw GameError("the pack title cannot be stored as Windows-1252 text");
    }
    if (titleBytes.size() > MaxTitleBytes) {
        throw GameError("the pack title is longer than 29 characters");
    }
    std::vector<std::uint8_t> bytes(PackHeaderSize + LevelRecordSize * levels.size(), 0);
    bytes[LevelCountOffset] = static_cast<std::uint8_t>(levels.size());
    std::copy(titleBytes.begin(), titleBytes.end(), bytes.begin() + TitleOffset);
    bytes[TitleOffset + titleBytes.size()] = TitleEnd;
    if (titleBytes.size() < MaxTitleBytes)
        bytes[TitleOffset + titleBytes.size() + 1] = TitleLineFeed;

    for (std::size_t k = 0; k < levels.size(); ++k) {
        const Level& level = levels[k];
        auto record = bytes.begin() + PackHeaderSize + LevelRecordSize * k;
        record[KeeperXOffset] = static_cast<std::uint8_t>(level.keeperX);
        record[KeeperYOffset] = static_cast<std::uint8_t>(level.keeperY);
        if (!level.author.empty()) {
            std::string authorBytes;
            if (!utf8ToCp1252(level.author, authorBytes)) {
                throw GameError("the author cannot be stored as Windows-1252 text");
            }
            if (authorBytes.size() > AuthorFieldSize) {
                throw GameError("the author name is longer than 12 characters");
            }
            std::copy(std::begin(SignatureBytes), std::end(SignatureBytes),
                      record + SignatureOffset);
            std::copy(authorBytes.begin(), authorBytes.end(), record + AuthorOffset);
        }
        for (int y = 1; y <= BoardSide; ++y) {
            for (int x = 1; x <= BoardSide; ++x)
                record[boardByte(x, y)] = level.board.at(x, y);
        }
    }
    return bytes;
}

}  // namespace quarbel
