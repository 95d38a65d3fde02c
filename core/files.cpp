#include "core/files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>
#include <utility>

#include "core/filefinder.h"

namespace quarbel {

namespace fs = std::filesystem;

namespace {

// As many links as the system itself follows in one name.
constexpr int MaxLinkHops = 40;
constexpr int PartNameAttempts = 100;
constexpr std::string_view PartSuffix = ".part";

// errno after a failed call, and a plain I/O error where the call left none behind.
int lastError() {
    return errno ? errno : EIO;
}

std::string kindOf(const struct stat& status) {
    if (S_ISDIR(status.st_mode)) return "a folder";
    if (S_ISFIFO(status.st_mode)) return "a FIFO";
    if (S_ISSOCK(status.st_mode)) return "a socket";
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) return "a device";
    return "no regular file";
}

// A name that is no regular file, refused as openRegularFile refuses it.
[[noreturn]] void refuseKind(const std::string& doing, const std::string& fileName,
                             const struct stat& status) {
    const std::string kind = kindOf(status);
    throw FileError(doing, fileName, S_ISDIR(status.st_mode) ? EISDIR : EACCES,
                    kind == "no regular file" ? "it is " + kind : "it is " + kind + ", not a file");
}

// The file that a name stands for once every symbolic link on its end is followed; it need
// not exist.
std::string linkTarget(const std::string& fileName) {
    fs::path path = fileName;
    for (int hop = 0; hop <= MaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) return path.string();
        const fs::path target = fs::read_symlink(path, error);
        if (error) throw FileError("write", fileName, error.value());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    throw FileError("write", fileName, ELOOP);
}

// The permissions of the file being replaced, which the new one keeps; nothing when there
// is none yet. A file that could not be opened for writing is not replaced either.
std::optional<mode_t> replaceableMode(const std::string& target, const std::string& fileName) {
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0) {
        if (errno == ENOENT) return std::nullopt;
        throw FileError("write", fileName, lastError());
    }
    if (!S_ISREG(status.st_mode)) refuseKind("write", fileName, status);
    errno = 0;
    const int fd = openRegularFile(target, O_WRONLY);
    if (fd < 0) {
        const int error = lastError();
        if (error == EACCES) throw FileError("write", fileName, error, "it is read-only");
        throw FileError("write", fileName, error);
    }
    const bool known = ::fstat(fd, &status) == 0;
    const int error = lastError();
    ::close(fd);
    if (!known) throw FileError("write", fileName, error);
    return status.st_mode & 07777;
}

bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// ".castle.dat.4711.": the start of the part files of one file; the process id tells
// whether the save that made one is still running.
std::string partPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".";
}

// Creates a file under a fresh name: a name where something stands already is never
// followed or opened, and nothing waits on it. -1 with errno on failure.
int createExclusively(const std::string& stem, std::string& name) {
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < PartNameAttempts; ++attempt) {
        char serial[17];
        const auto end = std::to_chars(serial, serial + 16, random(), 16).ptr;
        name = stem + std::string(serial, end) + std::string(PartSuffix);
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The new content of one file, written beside it until it takes the file's place. A part
// that is never put in place is removed.
class PartFile {
  public:
    PartFile(const std::string& fileName, std::string_view bytes)
        : fileName_(fileName), target_(linkTarget(fileName)) {
        errno = 0;
        const std::optional<mode_t> mode = replaceableMode(target_, fileName);
        const fs::path target(target_);
        fd_ = createExclusively(
            (target.parent_path() / partPrefix(target)).string() + std::to_string(::getpid()) + ".",
            name_);
        if (fd_ < 0) {
            name_.clear();
            throw FileError("write", fileName, lastError());
        }
        struct stat status {};
        if (!writeAll(fd_, bytes) || (mode && ::fchmod(fd_, *mode) != 0) ||
            ::fstat(fd_, &status) != 0) {
            const int error = lastError();
            removePart();  // no destructor runs for a constructor that throws
            throw FileError("write", fileName, error);
        }
        device_ = status.st_dev;
    }
    PartFile(PartFile&& other) noexcept
        : fileName_(std::move(other.fileName_)),
          target_(std::move(other.target_)),
          name_(std::exchange(other.name_, {})),
          fd_(std::exchange(other.fd_, -1)),
          device_(other.device_) {}
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;
    PartFile& operator=(PartFile&&) = delete;
    ~PartFile() { removePart(); }

    const std::string& fileName() const { return fileName_; }
    const std::string& target() const { return target_; }
    dev_t device() const { return device_; }

    void flush() const {
        if (::fsync(fd_) != 0) throw FileError("write", fileName_, lastError());
    }
    // Makes every file written on this part's disk durable at once.
    void flushDisk() const {
        if (::syncfs(fd_) != 0) throw FileError("write", fileName_, lastError());
    }
    void putInPlace() {
        errno = 0;
        const int closed = ::close(std::exchange(fd_, -1));
        if (closed != 0 || std::rename(name_.c_str(), target_.c_str()) != 0) {
            throw FileError("write", fileName_, lastError());
        }
        name_.clear();
    }

  private:
    void removePart() {
        if (fd_ >= 0) ::close(std::exchange(fd_, -1));
        if (!name_.empty()) ::unlink(std::exchange(name_, {}).c_str());
    }

    std::string fileName_;
    std::string target_;  // the file itself, links followed
    std::string name_;    // the part file; empty once it took the file's place
    int fd_ = -1;
    dev_t device_ = 0;
};

// One flush for each disk the parts lie on.
void flushDisks(const std::vector<PartFile>& parts) {
    std::set<dev_t> flushed;
    for (const PartFile& part : parts) {
        if (flushed.insert(part.device()).second) part.flushDisk();
    }
}

// The file as it is before being replaced, kept under a name of its own (a second link to
// it, or a copy where the disk has no links) until every file is in place.
class KeptFile {
  public:
    explicit KeptFile(const std::string& target) : target_(target) {
        static std::mt19937_64 random{std::random_device{}()};
        const fs::path path(target);
        const std::string stem = (path.parent_path() / partPrefix(path)).string() +
                                 std::to_string(::getpid()) + ".kept-";
        for (int attempt = 0; attempt < PartNameAttempts; ++attempt) {
            name_ = stem + std::to_string(random()) + std::string(PartSuffix);
            if (::link(target.c_str(), name_.c_str()) == 0) return;
            if (errno != EEXIST) break;
        }
        const int error = lastError();
        name_.clear();
        throw FileError("write", target, error, "cannot keep the old file: " + causeOf(error));
    }
    KeptFile(KeptFile&& other) noexcept
        : target_(std::move(other.target_)), name_(std::exchange(other.name_, {})) {}
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;
    KeptFile& operator=(KeptFile&&) = delete;
    ~KeptFile() {
        if (!name_.empty()) ::unlink(name_.c_str());
    }
    void putBack() {
        if (std::rename(name_.c_str(), target_.c_str()) == 0) name_.clear();
    }

  private:
    std::string target_;
    std::string name_;
};

}  // namespace

FileError::FileError(const std::string& doing, const std::string& fileName, int errorNumber,
                     const std::string& cause)
    : Error("cannot " + doing + " " + fileName + ": " + cause),
      fileName_(fileName),
      errorNumber_(errorNumber),
      cause_(cause) {}

FileError::FileError(const std::string& doing, const std::string& fileName, int errorNumber)
    : FileError(doing, fileName, errorNumber, causeOf(errorNumber)) {}

std::string causeOf(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "no such file or folder";
        case ENOTDIR:
            return "a part of the path is no folder";
        case EACCES:
        case EPERM:
            return "permission denied";
        case EISDIR:
            return "it is a folder, not a file";
        case EROFS:
            return "the disk is read-only";
        case ENOSPC:
        case EDQUOT:
            return "the disk is full";
        case EFBIG:
            return "the file is too large";
        case ELOOP:
            return "too many symbolic links";
        case ENAMETOOLONG:
            return "the name is too long";
        case EMFILE:
        case ENFILE:
            return "too many open files";
        case EXDEV:
            return "the file lies on another disk than its folder";
        default:
            return std::strerror(errorNumber);
    }
}

std::string readFile(const std::string& fileName, std::size_t maxBytes) {
    struct stat status {};
    if (::stat(fileName.c_str(), &status) != 0) throw FileError("read", fileName, lastError());
    if (!S_ISREG(status.st_mode)) refuseKind("read", fileName, status);
    const auto tooLarge = [&] {
        return FileError("read", fileName, EFBIG,
                         "it is larger than " + std::to_string(maxBytes) +
                             " bytes, too large for this kind of file");
    };
    if (static_cast<std::size_t>(status.st_size) > maxBytes) throw tooLarge();

    errno = 0;
    const int fd = openRegularFile(fileName, O_RDONLY);
    if (fd < 0) throw FileError("read", fileName, lastError());
    std::string content;
    char buffer[65536];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 || content.size() + static_cast<std::size_t>(got) > maxBytes) break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    const int error = lastError();
    ::close(fd);
    if (got < 0) throw FileError("read", fileName, error);
    if (got > 0) throw tooLarge();  // it grew while being read
    return content;
}

std::optional<std::string> readFileIfAny(const std::string& fileName, std::size_t maxBytes) {
    try {
        return readFile(fileName, maxBytes);
    } catch (const FileError&) {
        return std::nullopt;
    }
}

bool FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

std::optional<FileStamp> stampOf(const std::string& fileName) {
    struct stat status {};
    if (::stat(fileName.c_str(), &status) != 0) return std::nullopt;
    return FileStamp{status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

bool isSameFile(const std::string& a, const std::string& b) {
    const auto first = stampOf(a);
    const auto second = stampOf(b);
    return first && second && first->device == second->device && first->inode == second->inode;
}

void replaceFile(const std::string& fileName, std::string_view bytes) {
    PartFile part(fileName, bytes);
    part.flush();
    part.putInPlace();
}

void replaceAllOrNone(const std::vector<FileContent>& files) {
    std::vector<PartFile> parts;
    parts.reserve(files.size());
    for (const FileContent& file : files)
        parts.emplace_back(file.fileName, file.bytes);
    flushDisks(parts);
    // Every file that is there already is kept before the first one is replaced.
    std::vector<KeptFile> kept;
    std::vector<bool> existed;
    for (const PartFile& part : parts) {
        existed.push_back(stampOf(part.target()).has_value());
        if (existed.back()) kept.emplace_back(part.target());
    }
    std::size_t placed = 0;
    try {
        for (; placed < parts.size(); ++placed)
            parts[placed].putInPlace();
    } catch (const FileError&) {
        for (std::size_t k = 0; k < placed; ++k) {
            if (!existed[k]) ::unlink(parts[k].target().c_str());
        }
        for (KeptFile& file : kept)
            file.putBack();
        throw;
    }
}

std::vector<FileError> replaceEach(const std::vector<FileContent>& files) {
    std::vector<FileError> failures;
    std::vector<PartFile> parts;
    parts.reserve(files.size());
    for (const FileContent& file : files) {
        try {
            parts.emplace_back(file.fileName, file.bytes);
        } catch (const FileError& failure) {
            failures.push_back(failure);
        }
    }
    try {
        flushDisks(parts);
    } catch (const FileError& failure) {
        failures.push_back(failure);
        return failures;
    }
    for (PartFile& part : parts) {
        try {
            part.putInPlace();
        } catch (const FileError& failure) {
            failures.push_back(failure);
        }
    }
    return failures;
}

void writeStream(int fd, std::string_view bytes, const std::string& streamName) {
    errno = 0;
    if (!writeAll(fd, bytes)) throw FileError("write", streamName, lastError());
}

void removeStaleParts(const std::string& fileName) {
    fs::path target;
    try {
        target = linkTarget(fileName);
    } catch (const FileError&) {
        return;
    }
    const std::string prefix = partPrefix(target);
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!name.starts_with(prefix) || !name.ends_with(PartSuffix)) continue;
        // ".castle.dat.4711.9f3a.part": the process that made it, then its serial.
        const std::string_view rest(name.data() + prefix.size(),
                                    name.size() - prefix.size() - PartSuffix.size());
        pid_t process = 0;
        const auto [digitsEnd, parseError] =
            std::from_chars(rest.data(), rest.data() + rest.size(), process);
        if (parseError != std::errc{} || digitsEnd == rest.data() + rest.size() ||
            *digitsEnd != '.' || process <= 0) {
            continue;
        }
        struct stat status {};
        if (::lstat(entry->path().c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != ::geteuid()) {
            continue;
        }
        if (::kill(process, 0) != 0 && errno == ESRCH) ::unlink(entry->path().c_str());
    }
}

}  // namespace quarbel
