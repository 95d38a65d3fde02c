// What the level-pack chooser lists: the packs of a folder with their titles and level counts,
// and the pack files it leaves out because they could not be read. Plain C++; the dialog only
// shows the result.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace quarbel {

struct ListedPack {
    std::string fileName;  // as found in the folder
    std::string title;     // UTF-8, at most the shown length
    int levelCount = 0;
};

struct UnreadablePack {
    std::string fileName;
    std::string reason;
};

struct PackListing {
    std::vector<ListedPack> packs;
    std::vector<UnreadablePack> unreadable;
    std::size_t notListed = 0;  // pack files past the bound, not read
};

// The regular files of the folder named "*.dat" in any letter case, sorted by name regardless
// of case so that the list is the same from run to run, with at most `maxPacks` listed. A
// file whose header cannot be read is left out, so that every listed title opens its own
// file, and named with the reason.
PackListing listPacks(const std::filesystem::path& folder, std::size_t maxPacks,
                      std::size_t titleLength);

// What to tell the player about the files left out, empty when there are none: "These files
// could not be read:" or, when nothing could be listed, "No level pack could be read:", then
// one line per file; and how many packs the bound left out.
std::string packsLeftOutReport(const PackListing& listing);

}  // namespace quarbel
