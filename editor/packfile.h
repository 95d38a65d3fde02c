// Opening and saving what the editor edits: level packs (.dat) and text collections.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/files.h"
#include "editor/document.h"

namespace quarbel::editor {

// A level or text that the chosen kind of file cannot store; the message names it.
class StoreError : public Error {
  public:
    using Error::Error;
};

struct OpenedPack {
    Pack pack;
    // What could not be kept, one line each: levels left out, texts cut short, comments and
    // solutions of a collection. Saving over the file would lose what they name.
    std::vector<std::string> notes;
};

// A name ending in ".dat" (any letter case, isPackFileName) is a pack; every other name a
// text collection.
// Opens either kind of file, refusing one too short to be a pack and a text that is none
// (UTF-16, binary). Removes the part files a killed save of this file left. A pack whose file ends
// before its last level opens with the levels that are complete; a text collection opens without
// the levels a pack cannot hold. Each such loss is named in the notes.
OpenedPack openFile(const std::string& fileName);

// The pack file's bytes, exactly as the pack tool writes them. Throws StoreError when a
// level or a text cannot be stored.
std::vector<std::uint8_t> packBytesOf(const Pack& pack);
// The pack as a text collection. Throws StoreError, naming the level, for one that text
// cannot show.
std::string textOf(const Pack& pack);

// Writes the pack in the kind its name says, into a new file beside the old one that is
// renamed over it only when complete: a failed save leaves the old file as it was. Throws
// FileError naming the file and the reason.
void saveFile(const std::string& fileName, const Pack& pack);
// Writes the pack as a text collection, whatever the name.
void exportText(const std::string& fileName, const Pack& pack);

}  // namespace quarbel::editor
