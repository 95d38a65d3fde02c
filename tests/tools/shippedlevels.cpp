#include "shippedlevels.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quarbel::testing {

std::vector<LevelSource> shippedLevelSources() {
    std::vector<LevelSource> sources;
    for (const auto& entry : std::filesystem::directory_iterator(QUARBEL_LEVELS_DIR)) {
        // The build file sits beside the sources with the same extension.
        if (entry.path().extension() != ".txt" || entry.path().filename() == "CMakeLists.txt") {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        sources.push_back({entry.path().stem().string(), text.str()});
    }
    std::sort(sources.begin(), sources.end(),
              [](const LevelSource& a, const LevelSource& b) { return a.name < b.name; });
    return sources;
}

}  // namespace quarbel::testing
