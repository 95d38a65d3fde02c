// The player's own game folder: where the installed game runs, and how it is kept supplied
// with the shipped files without ever touching the player's own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/error.h"

namespace quarbel {

// Why the folder could not be found, made or filled, in one line.
class PlayerFolderError : public Error {
  public:
    using Error::Error;
};

// Inside the folder: the names of the shipped files placed there so far, one a line.
inline constexpr const char* PlacedListName = ".quarbel98-placed";

// $XDG_DATA_HOME/quarbel98, or $HOME/.local/share/quarbel98 when XDG_DATA_HOME is unset,
// empty or relative (the base directory rules ignore a relative path). Either argument may
// be null. Throws PlayerFolderError when neither gives an absolute folder.
std::filesystem::path playerFolderFor(const char* xdgDataHome, const char* home);

// Makes sure `playerFolder` exists and holds the shipped files of `shippedFolder` (its
// regular files, by name):
// - a name the player's folder already holds, in any letter case, is left as it is;
// - a pack (*.dat) is copied there once: when the player deletes it, it stays deleted;
// - every other file (pictures, sounds, help, pages) is linked to the shipped file, so that
//   an update of the game reaches it, and is linked again whenever it is missing, since the
//   game cannot run without it; a link whose file is gone counts as missing.
// Returns the names placed this time. Throws PlayerFolderError naming the file and the
// system's reason when the folder cannot be made or filled.
std::vector<std::string> preparePlayerFolder(const std::filesystem::path& shippedFolder,
                                             const std::filesystem::path& playerFolder);

}  // namespace quarbel
