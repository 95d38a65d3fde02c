#include "launcher/playerfolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <set>
#include <system_error>

#include "core/filefinder.h"
#include "core/files.h"
#include "core/levelpack.h"

namespace quarbel {

namespace fs = std::filesystem;

namespace {

std::string failure(const std::string& what, const fs::path& path, const std::error_code& error) {
    return what + " " + path.string() + ": " + error.message();
}

// The names of the regular files of the folder, sorted, so that every start places them
// in the same order.
std::vector<std::string> shippedNamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code statusError;
        if (entry->is_regular_file(statusError)) names.push_back(entry->path().filename());
    }
    if (error) throw PlayerFolderError(failure("cannot read the game's files in", folder, error));
    std::sort(names.begin(), names.end());
    return names;
}

// Every entry of the player's folder, files, folders and links alike, by its name folded
// to small letters: a pack or picture the player copied from a system that ignored letter
// case is still the player's file of that name.
std::set<std::u32string> foldedNamesIn(const fs::path& folder) {
    std::set<std::u32string> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        names.insert(foldedName(entry->path().filename().string()));
    }
    if (error) throw PlayerFolderError(failure("cannot read the game folder", folder, error));
    return names;
}

// The list holds a name a line; a hundred thousand names would still be a few MB.
constexpr std::size_t MaxPlacedListBytes = std::size_t{8} << 20;

std::set<std::string> readPlacedList(const fs::path& folder) {
    const fs::path path = folder / PlacedListName;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (!fs::exists(status)) return {};
    // The game keeps this list itself: whatever a link points to is not its list.
    if (fs::is_symlink(status)) {
        throw PlayerFolderError("cannot read " + path.string() +
                                ": it is a symbolic link, not the game's own list");
    }
    std::string text;
    try {
        text = readFile(path, MaxPlacedListBytes);
    } catch (const FileError& failure) {
        throw PlayerFolderError(failure.what());
    }
    std::set<std::string> names;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) names.insert(text.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// Replaced whole, so that a full disk never leaves half a list, which would bring back packs
// the player deleted.
void writePlacedList(const fs::path& folder, const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += name + '\n';
    try {
        replaceFile(folder / PlacedListName, text);
    } catch (const FileError& failure) {
        throw PlayerFolderError(failure.what());
    }
}

// A pack is the player's to change or delete, so it is a copy; it appears complete or
// not at all.
void copyPack(const fs::path& source, const fs::path& target) {
    try {
        replaceFile(target, readFile(source, MaxPackFileBytes));
    } catch (const FileError& failure) {
        throw PlayerFolderError(failure.what());
    }
}

// Held while the folder is prepared, so that two starts at once do not place the same
// files twice or lose each other's names from the list. Lent by the folder itself, so
// nothing is made for it.
class FolderLock {
  public:
    explicit FolderLock(const fs::path& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0 || ::flock(fd_, LOCK_EX) != 0) {
            const int error = errno;
            if (fd_ >= 0) ::close(fd_);
            throw PlayerFolderError("cannot lock the game folder " + folder.string() + ": " +
                                    causeOf(error));
        }
    }
    ~FolderLock() { ::close(fd_); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_;
};

void linkFile(const fs::path& source, const fs::path& target) {
    std::error_code error;
    const fs::path absoluteSource = fs::absolute(source, error);
    if (!error) fs::create_symlink(absoluteSource, target, error);
    if (error) throw PlayerFolderError(failure("cannot place", target, error));
}

bool isDanglingLink(const fs::path& path) {
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(path, error)) && !fs::exists(path, error);
}

}  // namespace

fs::path playerFolderFor(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && fs::path(xdgDataHome).is_absolute()) {
        return fs::path(xdgDataHome) / "quarbel98";
    }
    if (home && fs::path(home).is_absolute()) return fs::path(home) / ".local/share/quarbel98";
    throw PlayerFolderError(
        "cannot find the game folder: neither XDG_DATA_HOME nor HOME names "
        "an absolute folder");
}

std::vector<std::string> preparePlayerFolder(const fs::path& shippedFolder,
                                             const fs::path& playerFolder) {
    std::error_code error;
    fs::create_directories(playerFolder, error);
    if (!error && !fs::is_directory(playerFolder, error)) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (error) throw PlayerFolderError(failure("cannot make the game folder", playerFolder, error));

    const FolderLock lock(playerFolder);
    const std::vector<std::string> shipped = shippedNamesIn(shippedFolder);
    const std::set<std::u32string> present = foldedNamesIn(playerFolder);
    std::set<std::string> placedBefore = readPlacedList(playerFolder);

    std::vector<std::string> placedNow;
    std::exception_ptr placingFailure;
    try {
        for (const std::string& name : shipped) {
            const fs::path target = playerFolder / name;
            const bool pack = isPackFileName(name);
            if (present.contains(foldedName(name))) {
                if (pack || !isDanglingLink(target)) continue;
                fs::remove(target, error);
                if (error) throw PlayerFolderError(failure("cannot replace", target, error));
            } else if (pack && placedBefore.contains(name)) {
                continue;  // placed once and deleted by the player since
            }
            if (pack) {
                copyPack(shippedFolder / name, target);
            } else {
                linkFile(shippedFolder / name, target);
            }
            placedNow.push_back(name);
        }
    } catch (const PlayerFolderError&) {
        placingFailure = std::current_exception();
    }
    // What was placed before a failure is remembered all the same; the first failure is
    // the one reported.
    if (!placedNow.empty()) {
        placedBefore.insert(placedNow.begin(), placedNow.end());
        try {
            writePlacedList(playerFolder, placedBefore);
        } catch (const PlayerFolderError&) {
            if (!placingFailure) throw;
        }
    }
    if (placingFailure) std::rethrow_exception(placingFailure);
    return placedNow;
}

}  // namespace quarbel
