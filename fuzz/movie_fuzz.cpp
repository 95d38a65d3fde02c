// Damaged movie files: the reader's limit, and the codes replayed on a small level the way
// the movie player replays them, back to the start and forward again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/engine.h"
#include "inputfile.h"
#include "movies/moviefile.h"
#include "core/nullfrontend.h"

using namespace quarbel;

namespace {

// A room with two crates and two targets near the board's edge, so pushes reach it.
GameState smallLevel() {
    GameState s;
    for (int x = 1; x <= BoardSide; ++x) {
        s.board.at(x, 1) = CellWall;
        s.board.at(x, BoardSide) = CellWall;
    }
    s.board.at(3, 3) = CellCrate;
    s.board.at(4, 4) = CellCrateOnTarget;
    s.board.at(2, 5) = CellTarget;
    s.keeperX = 2;
    s.keeperY = 2;
    return s;
}

void replay(const std::vector<std::uint16_t>& codes) {
    NullFrontend ui;
    GameState s = smallLevel();
    const Board start = s.board;
    s.movieMode = true;
    for (std::uint16_t code : codes) {
        if (s.historyTop >= HistoryCapacity) break;
        stepKeeper(s, ui, keyForCode(code));
    }
    while (s.historyTop > 0)
        undoMove(s, ui);
    // Every step taken back leaves the level as it started.
    if (s.board != start || s.keeperX != 2 || s.keeperY != 2) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& fileName = fuzz::writeInputFile(data, size, ".MOV");
    const std::size_t limit = size == 0 ? 0 : data[0] % 64;
    for (std::size_t maxCodes : {limit, std::size_t{HistoryCapacity}}) {
        const auto codes = readMovieFile(fileName, maxCodes);
        if (!codes || codes->size() != std::min(size, maxCodes)) std::abort();
        for (std::size_t i = 0; i < codes->size(); ++i) {
            if ((*codes)[i] != static_cast<std::uint16_t>(data[i] - 48)) std::abort();
        }
        replay(*codes);
    }
    return 0;
}
