#include "launcher/playerfolder.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <set>
#include <system_error>

namespace quarbel {

namespace fs = std::filesystem;

namespace {

std::string folded(std::string name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

bool isPack(const std::string& name) {
    return name.size() > 4 && folded(name.substr(name.size() - 4)) == ".dat";
}

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
// to lower case: a pack or picture the player copied from a system that ignored letter
// case is still the player's file of that name.
std::set<std::string> foldedNamesIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        names.insert(folded(entry->path().filename()));
    }
    if (error) throw PlayerFolderError(failure("cannot read the game folder", folder, error));
    return names;
}

std::set<std::string> readPlacedList(const fs::path& folder) {
    const fs::path path = folder / PlacedListName;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error))) return {};
    std::ifstream file(path);
    std::set<std::string> names;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty()) names.insert(line);
    }
    if (!file.eof()) {
        throw PlayerFolderError(
            failure("cannot read", path, std::make_error_code(std::errc::io_error)));
    }
    return names;
}

// Written beside the list and renamed over it, so that a full disk never leaves half a
// list, which would bring back packs the player deleted.
void writePlacedList(const fs::path& folder, const std::set<std::string>& names) {
    const fs::path path = folder / PlacedListName;
    const fs::path part = folder / (std::string(PlacedListName) + ".new");
    {
        std::ofstream file(part, std::ios::trunc);
        for (const std::string& name : names)
            file << name << '\n';
        file.close();
        if (!file) {
            std::error_code ignored;
            fs::remove(part, ignored);
            throw PlayerFolderError(
                failure("cannot write", path, std::make_error_code(std::errc::io_error)));
        }
    }
    std::error_code error;
    fs::rename(part, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(part, ignored);
        throw PlayerFolderError(failure("cannot write", path, error));
    }
}

// A pack is the player's to change or delete, so it is a copy; it appears complete or
// not at all.
void copyPack(const fs::path& source, const fs::path& target) {
    const fs::path part = target.parent_path() / ("." + target.filename().string() + ".new");
    std::error_code error;
    fs::copy_file(source, part, fs::copy_options::overwrite_existing, error);
    if (!error) fs::rename(part, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(part, ignored);
        throw PlayerFolderError(failure("cannot place", target, error));
    }
}

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

    const std::vector<std::string> shipped = shippedNamesIn(shippedFolder);
    const std::set<std::string> present = foldedNamesIn(playerFolder);
    std::set<std::string> placedBefore = readPlacedList(playerFolder);

    std::vector<std::string> placedNow;
    std::exception_ptr placingFailure;
    try {
        for (const std::string& name : shipped) {
            const fs::path target = playerFolder / name;
            const bool pack = isPack(name);
            if (present.contains(folded(name))) {
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
