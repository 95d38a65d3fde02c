#include "shippedlevels.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quarbel::testing {

namespace {

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::vector<LevelSource> shippedLevelSources() {
    const std::filesystem::path folder = QUARBEL_LEVELS_DIR;
    std::vector<LevelSource> sources;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        // The build file sits beside the sources with the same extension.
        if (entry.path().extension() != ".txt" || entry.path().filename() == "CMakeLists.txt") {
            continue;
        }
        const std::filesystem::path solutions = folder / "solutions" / entry.path().filename();
        sources.push_back({entry.path().stem().string(), fileText(entry.path()),
                           std::filesystem::exists(solutions) ? fileText(solutions) : ""});
    }
    std::sort(sources.begin(), sources.end(),
              [](const LevelSource& a, const LevelSource& b) { return a.name < b.name; });
    return sources;
}

}  // namespace quarbel::testing
