// The level sources that the build turns into the game's packs.
#pragma once

#include <string>
#include <vector>

namespace quarbel::testing {

struct LevelSource {
    std::string name;  // "lessons" for levels/lessons.txt
    std::string text;
};

std::vector<LevelSource> shippedLevelSources();

}  // namespace quarbel::testing
