// Damaged pack files: the header, every record the file names and records past its end,
// and the text export, which checks every cell and the keeper. A readable file must never
// raise IoError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/levelpack.h"
#include "core/utf8.h"
#include "inputfile.h"
#include "tools/levelconvert.h"

using namespace quarbel;

namespace {

void checkRecord(const LevelRecord& record) {
    const Level& level = record.level;
    const bool keeperIsAByte =
        level.keeperX >= 0 && level.keeperX <= 255 && level.keeperY >= 0 && level.keeperY <= 255;
    if (!keeperIsAByte || (!record.hasAuthor && !level.author.empty())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& fileName = fuzz::writeInputFile(data, size, ".dat");
    const PackHeader header = readPackHeader(fileName);
    if (header.levelCount < 0 || header.levelCount > MaxPackLevels) std::abort();
    for (int level : {-1, 0, header.levelCount + 1, MaxPackLevels + 1}) {
        checkRecord(readLevelRecord(fileName, level));
    }
    for (int level = 1; level <= header.levelCount; ++level) {
        checkRecord(readLevelRecord(fileName, level));
    }
    LevelCollection collection;
    try {
        collection = readPackAsText(fileName);
    } catch (const LevelTextError&) {
        return 0;  // a level that text cannot show is refused with a message
    }
    // The exported text imports again to the same levels; the format trims its texts.
    const LevelCollection again = readLevelText(formatLevelText(collection)).collection;
    if (again.title != trimmed(collection.title) ||
        again.levels.size() != collection.levels.size()) {
        std::abort();
    }
    for (std::size_t k = 0; k < again.levels.size(); ++k) {
        if (again.levels[k].rows != collection.levels[k].rows ||
            again.levels[k].author != trimmed(collection.levels[k].author)) {
            std::abort();
        }
    }
    return 0;
}
