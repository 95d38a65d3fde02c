// Small packs for tests, drawn as text and written into a scratch folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/gamestate.h"
#include "core/levelpack.h"

namespace quarbel::testing {

// Rows of '#' wall, ' ' floor, '$' crate, '.' target, '*' crate on target, '@' keeper and
// '+' keeper on target; the first character of the first row is cell (1, 1).
Level levelFromRows(const std::vector<std::string>& rows, const std::string& author = "");

// Puts the level drawn by the rows on the board of a game in play, the title screen gone.
void placeLevel(GameState& s, const std::vector<std::string>& rows);

// The rows of a board, as levelFromRows reads them, with the keeper at (keeperX, keeperY).
std::vector<std::string> rowsOf(const Board& board, int keeperX, int keeperY);

// A fresh folder that is the working folder for the object's life.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void writePack(const std::string& fileName, const std::string& title,
                   const std::vector<Level>& levels) const;
    void writeFile(const std::string& fileName, const std::string& bytes) const;
    std::string readFile(const std::string& fileName) const;
    // The names in the folder, or in a folder inside it, sorted.
    std::vector<std::string> entries(const std::string& subfolder = ".") const;

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace quarbel::testing
