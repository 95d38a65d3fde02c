// Level text as the pack tool imports it: parse, build the pack, read it back as text. The
// canonical text of what the parser accepts reads back the same, and a pack built from text
// reads back to the same title, levels and authors.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "inputfile.h"
#include "tools/leveltext.h"

using namespace quarbel;

namespace {

bool sameLevels(const LevelCollection& a, const LevelCollection& b) {
    if (a.title != b.title || a.levels.size() != b.levels.size()) return false;
    for (std::size_t k = 0; k < a.levels.size(); ++k) {
        if (a.levels[k].rows != b.levels[k].rows || a.levels[k].author != b.levels[k].author) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LevelCollection collection;
    try {
        collection = parseLevelText(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const LevelTextError&) {
        return 0;  // refused with a message
    }
    const LevelCollection restated = parseLevelText(formatLevelText(collection));
    if (!sameLevels(restated, collection)) std::abort();
    for (std::size_t k = 0; k < collection.levels.size(); ++k) {
        if (restated.levels[k].title != collection.levels[k].title) std::abort();
    }

    std::vector<std::uint8_t> pack;
    try {
        pack = packBytesOf(collection);
    } catch (const LevelTextError&) {
        return 0;  // a level the pack cannot hold
    }
    const LevelCollection readBack =
        readPackAsText(fuzz::writeInputFile(pack.data(), pack.size(), ".dat"));
    // Export crops each level, so the rows may differ from the source, but not once more.
    LevelCollection cropped = collection;
    for (std::size_t k = 0; k < cropped.levels.size(); ++k)
        cropped.levels[k].rows = readBack.levels.at(k).rows;
    if (!sameLevels(readBack, cropped)) std::abort();
    const auto again = packBytesOf(readBack);
    if (!sameLevels(readPackAsText(fuzz::writeInputFile(again.data(), again.size(), ".dat")),
                    readBack)) {
        std::abort();
    }
    return 0;
}
