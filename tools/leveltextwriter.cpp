#include "tools/leveltext.h"

#include <algorithm>

namespace quarbel {

std::string formatLevelText(const LevelCollection& collection) {
    std::string text;
    auto line = [&](std::string_view key, std::string_view value) {
        if (!value.empty()) text.append(key).append(": ").append(value).append("\n");
    };
    auto extras = [&](const std::vector<TextProperty>& properties,
                      const std::vector<std::string>& comments) {
        for (const TextProperty& property : properties)
            text.append(property.key).append(": ").append(property.value).append("\n");
        for (const std::string& comment : comments)
            text.append(comment.empty() ? ";" : "; " + comment).append("\n");
    };
    line("Title", collection.title);
    line("Author", collection.author);
    extras(collection.properties, collection.comments);
    for (const TextLevel& level : collection.levels) {
        if (!text.empty()) text += '\n';
        const bool everyRowHasAWall =
            std::all_of(level.rows.begin(), level.rows.end(),
                        [](const std::string& row) { return row.find('#') != std::string::npos; });
        if (everyRowHasAWall) {
            for (const std::string& row : level.rows)
                text.append(row).append("\n");
        } else {
            // A row without a wall would not read as a board row on a line of its own.
            for (std::size_t r = 0; r < level.rows.size(); ++r) {
                if (r > 0) text += '|';
                std::string row = level.rows[r];
                std::replace(row.begin(), row.end(), ' ', '-');
                text += row;
            }
            text += '\n';
        }
        line("Title", level.title);
        line("Author", level.author);
        line("Solution", level.solution);
        extras(level.properties, level.comments);
    }
    return text;
}

}  // namespace quarbel
