#include "engine.h"

#include <string>

namespace quarbel {

namespace {

struct Direction {
    int dx;
    int dy;
    int facing;
    int walkCode;
};

bool directionOf(KeyCode key, Direction& d) {
    switch (key) {
        case KeyLeft:
            d = {-1, 0, 2, 4};
            return true;
        case KeyUp:
            d = {0, -1, 1, 1};
            return true;
        case KeyRight:
            d = {1, 0, 4, 3};
            return true;
        case KeyDown:
            d = {0, 1, 3, 2};
            return true;
        default:
            return false;
    }
}

bool isFree(std::uint8_t cell) {
    return cell == CellEmpty || cell == CellTarget;
}

void showSteps(GameState& s, Frontend& ui) {
    const std::string text = std::to_string(s.historyTop);
    ui.setCaption(Control::stepsview, text);
    ui.setCaption(Control::mstepsview, text);
}

void playUndoSound(GameState& s, Frontend& ui) {
    SoundPlayer& player = ui.soundplayer();
    player.setFileName("undo.wav");
    if (!s.undoSoundOpen && !player.open()) return;
    if (!player.isPlaying() && !player.play()) return;
    s.undoSoundOpen = true;
}

}  // namespace

KeyCode keyForCode(int code) {
    switch (code) {
        case 1:
        case 5:
            return KeyUp;
        case 2:
        case 6:
            return KeyDown;
        case 3:
        case 7:
            return KeyRight;
        case 4:
        case 8:
            return KeyLeft;
        default:
            return KeyNone;
    }
}

void stepKeeper(GameState& s, Frontend& ui, KeyCode key) {
    Direction d{};
    if (!directionOf(key, d)) return;
    const int nx = s.keeperX + d.dx;
    const int ny = s.keeperY + d.dy;
    s.facing = d.facing;
    // A full history refuses the step as a wall would.
    if (!onBoard(nx, ny) || s.board.at(nx, ny) == CellWall || s.historyTop >= HistoryCapacity) {
        return;
    }

    const std::uint8_t ahead = s.board.at(nx, ny);
    if (isFree(ahead)) {
        s.history[s.historyTop++] = static_cast<std::uint16_t>(d.walkCode);
        s.keeperX = nx;
        s.keeperY = ny;
        ui.drawBoard(false, true);
    } else if (ahead == CellCrate || ahead == CellCrateOnTarget) {
        const int mx = nx + d.dx;
        const int my = ny + d.dy;
        if (onBoard(mx, my) && isFree(s.board.at(mx, my))) {
            s.board.at(nx, ny) = ahead == CellCrate ? CellEmpty : CellTarget;
            std::uint8_t& beyond = s.board.at(mx, my);
            beyond = beyond == CellEmpty ? CellCrate : CellCrateOnTarget;
            s.history[s.historyTop++] = static_cast<std::uint16_t>(d.walkCode + PushOffset);
            s.keeperX = nx;
            s.keeperY = ny;
            ui.drawBoard(false, true);
        }
    }
    ui.CheckSolved();
    showSteps(s, ui);
}

void undoMove(GameState& s, Frontend& ui) {
    if (!s.levelActive || s.historyTop == 0) return;
    const int code = s.history[s.historyTop - 1];
    const int x = s.keeperX;
    const int y = s.keeperY;

    if (code >= 5 && code <= 8 && onBoard(x, y)) {
        std::uint8_t& here = s.board.at(x, y);
        if (here == CellEmpty)
            here = CellCrate;
        else if (here == CellTarget)
            here = CellCrateOnTarget;
        const KeyCode key = keyForCode(code);
        const int cx = x + (key == KeyRight) - (key == KeyLeft);
        const int cy = y + (key == KeyDown) - (key == KeyUp);
        if (onBoard(cx, cy)) {
            std::uint8_t& crate = s.board.at(cx, cy);
            if (crate == CellCrate)
                crate = CellEmpty;
            else if (crate == CellCrateOnTarget)
                crate = CellTarget;
        }
    }

    switch (keyForCode(code)) {
        case KeyUp:
            s.keeperY = y + 1;
            s.facing = 1;
            break;
        case KeyDown:
            s.keeperY = y - 1;
            s.facing = 3;
            break;
        case KeyRight:
            s.keeperX = x - 1;
            s.facing = 4;
            break;
        case KeyLeft:
            s.keeperX = x + 1;
            s.facing = 2;
            break;
        default:
            break;
    }

    --s.historyTop;
    showSteps(s, ui);
    ui.drawBoard(false, true);
    if (!s.movieMode) playUndoSound(s, ui);
}

void UndoButtonClick(GameState& s, Frontend& ui) {
    undoMove(s, ui);
}

}  // namespace quarbel
