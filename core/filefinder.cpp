#include "core/filefinder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/cp1252.h"

namespace quarbel {

namespace fs = std::filesystem;

std::u32string foldedName(std::string_view name) {
    std::u32string characters = fileNameCharacters(name);
    std::transform(characters.begin(), characters.end(), characters.begin(), cp1252Lower);
    return characters;
}

namespace {

// The entry of the folder that the part names, or the part itself when nothing matches.
std::string findEntry(const fs::path& folder, std::string_view part, bool folderNeeded) {
    const fs::path searched = folder.empty() ? fs::path(".") : folder;
    std::error_code error;
    const fs::file_status exact = folderNeeded ? fs::status(searched / part, error)
                                               : fs::symlink_status(searched / part, error);
    if (folderNeeded ? fs::is_directory(exact) : fs::exists(exact)) return std::string(part);

    const std::u32string wanted = foldedName(part);
    std::optional<std::string> found;
    for (fs::directory_iterator entry(searched, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        std::error_code typeError;
        if (foldedName(name) != wanted || (folderNeeded && !entry->is_directory(typeError))) {
            continue;
        }
        if (!found || name < *found) found = std::move(name);
    }
    return found ? *found : std::string(part);
}

}  // namespace

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return foldedName(a) == foldedName(b);
}

bool isPackFileName(std::string_view name) {
    constexpr std::string_view Extension = ".dat";
    return name.size() >= Extension.size() &&
           sameIgnoringCase(name.substr(name.size() - Extension.size()), Extension);
}

std::string findName(std::string_view relativeName) {
    fs::path found;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = relativeName.find('/', start);
        const bool last = slash == std::string_view::npos;
        const std::string_view part = relativeName.substr(start, last ? slash : slash - start);
        found /= findEntry(found, part, !last);
        if (last) return found.string();
        start = slash + 1;
    }
}

int openRegularFile(const std::string& fileName, int flags) {
    // Looked at before the open, so that no device is ever opened; checked again on the
    // open file, for the entry may have changed in between.
    struct stat before {};
    if (::stat(fileName.c_str(), &before) != 0) return -1;
    const auto refuse = [](const struct stat& status) {
        errno = S_ISDIR(status.st_mode) ? EISDIR : EACCES;
        return -1;
    };
    if (!S_ISREG(before.st_mode)) return refuse(before);
    const int fd = ::open(fileName.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    if (!S_ISREG(opened.st_mode)) {
        ::close(fd);
        return refuse(opened);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

OpenFile openRegularForReading(const std::string& fileName) {
    const int fd = openRegularFile(fileName, O_RDONLY);
    if (fd < 0) return nullptr;
    OpenFile file(::fdopen(fd, "rb"));
    if (!file) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
}

}  // namespace quarbel
