// The one record of game state, owned by the main window for the whole run.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace quarbel {

enum CellCode : std::uint8_t {
    CellEmpty = 0,
    CellWall = 1,
    CellCrate = 10,
    CellTarget = 15,
    CellCrateOnTarget = 20,
};

// The keeper may walk onto floor and targets. Walls, crates and any code the game does not
// know stop him, and a crate, as a wall does.
constexpr bool isWalkable(std::uint8_t cell) {
    return cell == CellEmpty || cell == CellTarget;
}

constexpr bool holdsCrate(std::uint8_t cell) {
    return cell == CellCrate || cell == CellCrateOnTarget;
}

constexpr int BoardSide = 15;
constexpr int BoardCells = BoardSide * BoardSide;
constexpr int HistoryCapacity = 5000;

// The title picture's top band, which slides in from the right on the title screen.
constexpr int BandWidth = 640;
constexpr int BandHeight = 20;

inline bool onBoard(int x, int y) {
    return x >= 1 && x <= BoardSide && y >= 1 && y <= BoardSide;
}

// 15 x 15 cell codes held column by column: cell (x, y), both 1-based, is element
// (x - 1) * 15 + (y - 1). The keeper is never stored here.
struct Board {
    std::array<std::uint8_t, BoardCells> cells{};

    std::uint8_t& at(int x, int y) { return cells[(x - 1) * BoardSide + (y - 1)]; }
    std::uint8_t at(int x, int y) const { return cells[(x - 1) * BoardSide + (y - 1)]; }
    bool operator==(const Board&) const = default;
};

// Solved when no target square is left empty; the keeper is not in the board, so the square
// under him counts as well.
inline bool levelSolved(const Board& board) {
    return std::find(board.cells.begin(), board.cells.end(), CellTarget) == board.cells.end();
}

struct GameState {
    // Level and move engine.
    Board board{};
    std::int32_t keeperX = 0;
    std::int32_t keeperY = 0;
    std::int32_t facing = 3;  // 1 up, 2 left, 3 down, 4 right (see Direction)
    // The history codes of the moves made (see Direction). A loaded movie is read into the
    // same array: moviePos is the next movie step to replay, movieLength its step count.
    std::array<std::uint16_t, HistoryCapacity> history{};
    std::int32_t historyTop = 0;  // next free index, and the step count shown
    std::int32_t moviePos = 0;
    std::int32_t movieLength = 0;
    bool levelActive = true;
    bool autoPlay = false;
    bool movieMode = false;
    bool titleShowing = true;
    bool undoSoundOpen = false;
    std::int32_t elapsedSeconds = 0;

    // The chosen pack. Texts are UTF-8; the pack file stores them as Windows-1252.
    std::int32_t levelCount = 0;
    std::string startedLevel;
    std::string packFileName;
    std::string packName;
    std::string packTitle;

    // Mouse input: the last pointer position over the board image, and whether the
    // repeat takes steps back rather than walking.
    std::int32_t lastMouseX = 0;
    std::int32_t lastMouseY = 0;
    bool undoRepeat = false;

    // Renderer: the board as it was at the last drawing, and the keeper's blink.
    Board boardSnapshot{};
    bool eyesClosed = false;

    // Title screen: the band is drawn with its left edge at -titleBandOffset.
    std::int32_t titleBandOffset = BandWidth;
};

}  // namespace quarbel
