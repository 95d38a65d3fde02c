// Editor levels drawn as rows, as the pack tests draw pack levels.
#pragma once

#include <string>
#include <vector>

#include "editor/level.h"
#include "support/packbuilder.h"

namespace quarbel::editor {

inline Level levelOf(const std::vector<std::string>& rows, const std::string& author = "") {
    const PackLevel drawn = testing::levelFromRows(rows, author);
    return {drawn.board, drawn.keeperX, drawn.keeperY, {}, drawn.author};
}

}  // namespace quarbel::editor
