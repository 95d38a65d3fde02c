// The level sources that the build turns into the game's packs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quarbel::testing {

struct LevelSource {
    std::string name;  // "lessons" for levels/lessons.txt
    std::string text;
    // levels/solutions/NAME.txt: the same levels each with its solution, for a pack whose
    // levels take the solver long; empty for none.
    std::string solutions;
};

std::vector<LevelSource> shippedLevelSources();

// A test named after a source shows its name, not its bytes.
inline void PrintTo(const LevelSource& source, std::ostream* out) {
    *out << source.name;
}

}  // namespace quarbel::testing
