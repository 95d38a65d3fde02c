// The layers of docs/architecture.md hold: no part includes a part above it, and the plain
// C++ parts include no Qt header. The table of that page is the rule; this test reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/packbuilder.h"

namespace {

namespace fs = std::filesystem;

struct Part {
    std::string name;  // a folder ("core/") or the start of file names ("ui/keymap")
    std::vector<std::string> mayInclude;
    bool qt = false;
};

std::vector<std::string> backticked(const std::string& text) {
    std::vector<std::string> names;
    static const std::regex name("`([^`]+)`");
    for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end; ++it)
        names.push_back((*it)[1]);
    return names;
}

// The rows of the table "| Part | May include | Qt |".
std::vector<Part> readParts(std::istream& page) {
    std::vector<Part> parts;
    bool inTable = false;
    for (std::string line; std::getline(page, line);) {
        if (line.rfind("| Part | May include | Qt |", 0) == 0) {
            inTable = true;
            continue;
        }
        if (!inTable || line.rfind("|---", 0) == 0) continue;
        if (line.rfind("| `", 0) != 0) break;
        std::vector<std::string> cells;
        std::stringstream row(line.substr(1));
        for (std::string cell; std::getline(row, cell, '|');)
            cells.push_back(cell);
        if (cells.size() < 3) break;
        const std::vector<std::string> name = backticked(cells[0]);
        if (name.size() != 1) break;
        parts.push_back({name[0], backticked(cells[1]), cells[2].find("yes") != std::string::npos});
    }
    return parts;
}

const Part* partOf(const std::vector<Part>& parts, const std::string& path) {
    const Part* found = nullptr;
    for (const Part& part : parts) {
        if (path.rfind(part.name, 0) == 0 && (!found || part.name.size() > found->name.size()))
            found = &part;
    }
    return found;
}

// "editor/x.cpp includes ui/pakkor.h" for every include the table does not allow, and for
// every include that does not name its file by its path from the top folder.
std::vector<std::string> violations(const fs::path& root, const std::vector<Part>& parts) {
    std::set<std::string> folders;
    for (const Part& part : parts)
        folders.insert(part.name.substr(0, part.name.find('/')));
    std::vector<std::string> found;
    static const std::regex quoted(R"(^\s*#\s*include\s*"([^"]+)\")");
    static const std::regex qtHeader(R"(^\s*#\s*include\s*<Q)");
    for (const std::string& folder : folders) {
        if (!fs::is_directory(root / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") continue;
            const std::string path = entry.path().lexically_relative(root).generic_string();
            const Part* part = partOf(parts, path);
            if (part == nullptr) continue;
            std::ifstream file(entry.path());
            for (std::string line; std::getline(file, line);) {
                std::smatch include;
                if (std::regex_search(line, qtHeader) && !part->qt) {
                    found.push_back(path + " includes Qt");
                }
                if (!std::regex_search(line, include, quoted)) continue;
                const std::string target = include[1];
                if (target.find('/') == std::string::npos) {
                    found.push_back(path + " includes " + target + " without its folder");
                    continue;
                }
                if (partOf(parts, target) == part) continue;
                const bool allowed = std::any_of(
                    part->mayInclude.begin(), part->mayInclude.end(),
                    [&](const std::string& below) { return target.rfind(below, 0) == 0; });
                if (!allowed) found.push_back(path + " includes " + target);
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST(Layers, NoPartIncludesAPartAboveIt) {
    std::ifstream page(fs::path(QUARBEL_SOURCE_DIR) / "docs/architecture.md");
    const std::vector<Part> parts = readParts(page);
    ASSERT_GE(parts.size(), 10u) << "the table of the layers was not found";
    EXPECT_EQ(violations(QUARBEL_SOURCE_DIR, parts), std::vector<std::string>{});
}

TEST(Layers, AnIncludeUpwardsOrOfQtInPlainCodeOrWithoutItsFolderIsFound) {
    std::istringstream page(
        "| Part | May include | Qt |\n|---|---|---|\n"
        "| `core/` | | no |\n| `ui/` | `core/` | yes |\n| `ui/keymap` | `core/` | yes |\n");
    const std::vector<Part> parts = readParts(page);
    ASSERT_EQ(parts.size(), 3u);
    quarbel::testing::ScratchFolder tree;
    fs::create_directories(tree.path() / "core");
    fs::create_directories(tree.path() / "ui");
    tree.writeFile("core/a.h",
                   "#include \"core/b.h\"\n#include \"ui/window.h\"\n#include <QString>\n");
    tree.writeFile("core/b.h", "#include <vector>\n");
    tree.writeFile("ui/window.cpp",
                   "#include \"ui/window.h\"\n#include \"core/a.h\"\n#include \"ui/keymap.h\"\n");
    tree.writeFile("ui/keymap.h", "#include \"core/b.h\"\n  #  include \"window.h\"\n");
    EXPECT_EQ(violations(tree.path(), parts),
              (std::vector<std::string>{"core/a.h includes Qt", "core/a.h includes ui/window.h",
                                        "ui/keymap.h includes window.h without its folder",
                                        "ui/window.cpp includes ui/keymap.h"}));
}

}  // namespace
