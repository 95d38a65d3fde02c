#include "chooser/packlisting.h"

#include <algorithm>
#include <system_error>

#include "core/filefinder.h"
#include "core/gameerror.h"
#include "core/levelpack.h"

namespace quarbel {

namespace {

std::vector<std::string> packFileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code listingError;
    for (std::filesystem::directory_iterator entry(folder, listingError), end;
         !listingError && entry != end; entry.increment(listingError)) {
        const std::string name = entry->path().filename().string();
        // A folder, a special file or a dangling link is no pack; opening a pipe would block.
        std::error_code statusError;
        if (isPackFileName(name) && entry->is_regular_file(statusError)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::u32string keyA = foldedName(a);
        const std::u32string keyB = foldedName(b);
        return keyA != keyB ? keyA < keyB : a < b;
    });
    return names;
}

}  // namespace

PackListing listPacks(const std::filesystem::path& folder, std::size_t maxPacks,
                      std::size_t titleLength) {
    PackListing listing;
    for (const std::string& name : packFileNames(folder)) {
        if (listing.packs.size() == maxPacks) {
            ++listing.notListed;
            continue;
        }
        try {
            const PackHeader header = readPackHeader((folder / name).string(), titleLength);
            listing.packs.push_back({name, header.title, header.levelCount});
        } catch (const IoError& error) {
            listing.unreadable.push_back({name, error.what()});
        }
    }
    return listing;
}

std::string packsLeftOutReport(const PackListing& listing) {
    std::string text;
    if (!listing.unreadable.empty()) {
        text = listing.packs.empty() ? "No level pack could be read:\n"
                                     : "These files could not be read:\n";
        for (const UnreadablePack& pack : listing.unreadable)
            text += "\n" + pack.fileName + ": " + pack.reason;
    }
    if (listing.notListed > 0) {
        if (!text.empty()) text += "\n\n";
        text += "The list holds " + std::to_string(listing.packs.size()) + " packs: " +
                (listing.notListed == 1 ? std::string("1 more pack of the folder is not listed.")
                                        : std::to_string(listing.notListed) +
                                              " more packs of the folder are not listed.");
    }
    return text;
}

}  // namespace quarbel
