// Collection files as import reads them: any bytes read without a crash; the canonical text
// of what was read reads back to the same collection; and every pack built from it exports
// and imports again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "inputfile.h"
#include "tools/levelconvert.h"

using namespace quarbel;

namespace {

bool sameProperties(const std::vector<TextProperty>& a, const std::vector<TextProperty>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.key == y.key && x.value == y.value;
    });
}

// Everything but the file lines, which the canonical text changes.
bool sameCollection(const LevelCollection& a, const LevelCollection& b) {
    if (a.title != b.title || a.author != b.author || a.comments != b.comments ||
        !sameProperties(a.properties, b.properties) || a.levels.size() != b.levels.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.levels.size(); ++k) {
        const TextLevel& x = a.levels[k];
        const TextLevel& y = b.levels[k];
        if (x.rows != y.rows || x.title != y.title || x.author != y.author ||
            x.solution != y.solution || x.comments != y.comments ||
            !sameProperties(x.properties, y.properties)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ReadCollection read =
        readLevelText(std::string_view(reinterpret_cast<const char*>(data), size));
    const ReadCollection restated = readLevelText(formatLevelText(read.collection));
    if (!restated.reports.empty() || !sameCollection(restated.collection, read.collection)) {
        std::abort();
    }

    const ConvertedCollection converted = convertCollection(read.collection, true);
    if (converted.levelsFound != static_cast<int>(read.collection.levels.size())) std::abort();
    std::vector<TextReport> reports;
    for (const PackPart& part : splitIntoPacks(converted, "fuzz.dat", reports)) {
        if (part.levels.empty() || part.levels.size() > MaxPackLevels) std::abort();
        const std::vector<std::uint8_t> bytes = packBytesOf(part);
        // What import writes, export can show, and it imports to the same pack.
        const LevelCollection exported =
            readPackAsText(fuzz::writeInputFile(bytes.data(), bytes.size(), ".dat"));
        const ReadCollection again = readLevelText(formatLevelText(exported));
        const ConvertedCollection reconverted = convertCollection(again.collection, false);
        if (!reconverted.reports.empty()) std::abort();
        const std::vector<PackPart> parts = splitIntoPacks(reconverted, "again.dat", reports);
        if (parts.size() != 1 || packBytesOf(parts[0]) != bytes) std::abort();
    }
    return 0;
}
