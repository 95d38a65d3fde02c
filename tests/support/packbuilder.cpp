#include "packbuilder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>

#include "core/level.h"

namespace quarbel::testing {

Level levelFromRows(const std::vector<std::string>& rows, const std::string& author) {
    Level level;
    level.author = author;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::optional<Square> square = squareOfSymbol(rows[r][c]);
            if (!square) continue;
            const int x = static_cast<int>(c) + 1;
            const int y = static_cast<int>(r) + 1;
            level.board.at(x, y) = square->cell;
            if (square->keeper) {
                level.keeperX = x;
                level.keeperY = y;
            }
        }
    }
    return level;
}

void placeLevel(GameState& s, const std::vector<std::string>& rows) {
    quarbel::placeLevel(s, levelFromRows(rows));
    s.titleShowing = false;
    s.levelActive = true;
}

std::vector<std::string> rowsOf(const Board& board, int keeperX, int keeperY) {
    std::vector<std::string> rows;
    for (int y = 1; y <= BoardSide; ++y) {
        std::string row;
        for (int x = 1; x <= BoardSide; ++x)
            row += symbolOf({board.at(x, y), x == keeperX && y == keeperY});
        row.erase(row.find_last_not_of(' ') + 1);
        rows.push_back(row);
    }
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    return rows;
}

ScratchFolder::ScratchFolder() : previous_(std::filesystem::current_path()) {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("quarbel-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void ScratchFolder::writePack(const std::string& fileName, const std::string& title,
                              const std::vector<Level>& levels) const {
    const std::vector<std::uint8_t> bytes = encodePack(title, levels);
    writeFile(fileName, std::string(bytes.begin(), bytes.end()));
}

void ScratchFolder::writeFile(const std::string& fileName, const std::string& bytes) const {
    std::ofstream out(path_ / fileName, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + fileName);
}

std::vector<std::string> ScratchFolder::entries(const std::string& subfolder) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_ / subfolder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ScratchFolder::readFile(const std::string& fileName) const {
    std::ifstream in(path_ / fileName, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + fileName);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace quarbel::testing
