#include "movies/moviefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "core/filefinder.h"
#include "core/gameerror.h"

namespace quarbel {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// As many links as the system itself follows in one name.
constexpr int MaxLinkHops = 40;
constexpr int PartNameAttempts = 100;

// errno after a failed call, and a plain I/O error where the call left none behind.
int lastError() {
    return errno ? errno : EIO;
}

// The file that a name stands for once every symbolic link on its end is followed; it need
// not exist.
std::string linkTarget(const std::string& fileName) {
    fs::path path = fileName;
    for (int hop = 0; hop <= MaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) return path.string();
        const fs::path target = fs::read_symlink(path, error);
        if (error) throw IoError(error.value());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    throw IoError(ELOOP);
}

// The permission bits of the stored movie, which the new one keeps; nothing when there is
// none yet. A stored movie that could not be opened for writing is not replaced either.
std::optional<mode_t> replaceableMovieMode(const std::string& target) {
    struct stat status {};
    if (::lstat(target.c_str(), &status) != 0) {
        if (errno == ENOENT) return std::nullopt;
        throw IoError(lastError());
    }
    const int fd = openRegularFile(target, O_WRONLY);
    if (fd < 0) throw IoError(lastError());
    const bool known = ::fstat(fd, &status) == 0;
    ::close(fd);
    if (!known) throw IoError(lastError());
    return status.st_mode & 07777;
}

// Creates a new part file beside the target under a name that no entry had: whatever stands
// there already is never followed or opened. -1 with errno on failure.
int createPartFile(const std::string& target, std::string& partName) {
    std::random_device random;
    for (int attempt = 0; attempt < PartNameAttempts; ++attempt) {
        partName = target + "." + std::to_string(random()) + ".new";
        const int fd =
            ::open(partName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
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
    const int fd = openRegularFile(fileName, O_RDONLY);
    if (fd < 0) return std::nullopt;
    File file(::fdopen(fd, "rb"));
    if (!file) {
        ::close(fd);
        return std::nullopt;
    }
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

void writeMovieFile(const std::string& fileName, std::span<const std::uint16_t> codes) {
    errno = 0;
    const std::string target = linkTarget(fileName);
    const std::optional<mode_t> storedMode = replaceableMovieMode(target);
    std::string partName;
    const int fd = createPartFile(target, partName);
    if (fd < 0) throw IoError(lastError());
    std::string digits;
    digits.reserve(codes.size());
    for (std::uint16_t code : codes)
        digits += std::to_string(code);
    const bool written =
        writeAll(fd, digits) && (!storedMode || ::fchmod(fd, *storedMode) == 0) && ::fsync(fd) == 0;
    const int writeError = lastError();
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(partName.c_str(), target.c_str()) != 0) {
        const int error = !written ? writeError : lastError();
        ::unlink(partName.c_str());
        throw IoError(error);
    }
}

}  // namespace quarbel
