#include "movies/moviefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/filefinder.h"
#include "core/files.h"
#include "core/gameerror.h"

namespace quarbel {

namespace {

// errno after a failed call, and a plain I/O error where the call left none behind.
int lastError() {
    return errno ? errno : EIO;
}

}  // namespace

std::string movieFileName(std::string_view packName, std::string_view levelText) {
    std::string name(packName);
    name += "/ZORP";
    if (levelText.size() < 4) name.append(4 - levelText.size(), '0');
    name += levelText;
    name += ".MOV";
    return name;
}

bool isMovieFolderName(std::string_view packName) {
    return !packName.empty() && packName != "." && packName != ".." &&
           packName.find('/') == std::string_view::npos;
}

std::optional<std::string> storedMovieName(std::string_view packName, std::string_view levelText) {
    if (!isMovieFolderName(packName)) return std::nullopt;
    return findName(movieFileName(packName, levelText));
}

std::optional<std::vector<std::uint16_t>> readMovieFile(const std::string& fileName,
                                                        std::size_t maxCodes) {
    const OpenFile file = openRegularForReading(fileName);
    if (!file) return std::nullopt;
    std::vector<std::uint16_t> codes;
    unsigned char buffer[4096];
    errno = 0;
    while (codes.size() < maxCodes) {
        const std::size_t wanted = std::min(sizeof buffer, maxCodes - codes.size());
        const std::size_t got = std::fread(buffer, 1, wanted, file.get());
        for (std::size_t i = 0; i < got; ++i) {
            codes.push_back(static_cast<std::uint16_t>(buffer[i] - 48));
        }
        if (got < wanted) break;
    }
    if (std::ferror(file.get())) throw IoError(lastError());
    return codes;
}

std::int64_t movieFileSize(const std::string& fileName) {
    // A stored movie counts only when it can be opened for reading and writing.
    const int fd = openRegularFile(fileName, O_RDWR);
    if (fd < 0) return 0;
    struct stat status {};
    const bool known = ::fstat(fd, &status) == 0;
    ::close(fd);
    return known ? static_cast<std::int64_t>(status.st_size) : 0;
}

std::string movieBytes(std::span<const std::uint16_t> codes) {
    std::string digits;
    digits.reserve(codes.size());
    for (std::uint16_t code : codes)
        digits += std::to_string(code);
    return digits;
}

void writeMovieFile(const std::string& fileName, std::span<const std::uint16_t> codes) {
    try {
        replaceFile(fileName, movieBytes(codes));
    } catch (const FileError& failure) {
        throw IoError(failure.errorNumber());
    }
}

}  // namespace quarbel
