// Damaged levels in play: a level record straight from the file (keeper anywhere from 0 to
// 255, any cell code) played with the bytes after the record as keys and steps back. No
// step may touch a cell off the board, and taking every step back restores the level.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/engine.h"
#include "core/level.h"
#include "core/levelpack.h"
#include "core/nullfrontend.h"
#include "inputfile.h"

using namespace quarbel;

namespace {

constexpr KeyCode Keys[4] = {KeyLeft, KeyUp, KeyRight, KeyDown};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t recordBytes = std::min<std::size_t>(size, LevelRecordSize);
    std::vector<std::uint8_t> file(PackHeaderSize, 0);
    file[1] = 1;
    file.insert(file.end(), data, data + recordBytes);
    const Level level =
        readLevelRecord(fuzz::writeInputFile(file.data(), file.size(), ".dat"), 1).level;

    NullFrontend ui;
    GameState s;
    placeLevel(s, level);
    // Two bits choose walk or step back, two bits the direction.
    for (std::size_t i = recordBytes; i < size; ++i) {
        if (data[i] & 0x10)
            undoMove(s, ui);
        else
            stepKeeper(s, ui, Keys[data[i] & 3]);
    }
    while (s.historyTop > 0)
        undoMove(s, ui);
    if (s.board != level.board || s.keeperX != level.keeperX || s.keeperY != level.keeperY) {
        std::abort();
    }
    return 0;
}
