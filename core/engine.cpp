#include "core/engine.h"

#include <string>

namespace quarbel {

namespace {

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

void stepKeeper(GameState& s, Frontend& ui, KeyCode key) {
    const Direction* d = directionOfKey(key);
    if (!d) return;
    const int nx = s.keeperX + d->dx;
    const int ny = s.keeperY + d->dy;
    s.facing = d->facing;
    // A full history refuses the step as a wall would.
    if (!onBoard(nx, ny) || s.board.at(nx, ny) == CellWall || s.historyTop >= HistoryCapacity) {
        return;
    }

    const std::uint8_t ahead = s.board.at(nx, ny);
    if (isWalkable(ahead)) {
        s.history[s.historyTop++] = static_cast<std::uint16_t>(d->walkCode);
        s.keeperX = nx;
        s.keeperY = ny;
        ui.drawBoard(false, true);
    } else if (holdsCrate(ahead)) {
        const int mx = nx + d->dx;
        const int my = ny + d->dy;
        if (onBoard(mx, my) && isWalkable(s.board.at(mx, my))) {
            s.board.at(nx, ny) = ahead == CellCrate ? CellEmpty : CellTarget;
            std::uint8_t& beyond = s.board.at(mx, my);
            beyond = beyond == CellEmpty ? CellCrate : CellCrateOnTarget;
            s.history[s.historyTop++] = static_cast<std::uint16_t>(d->pushCode());
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

    const Direction* d = directionOfCode(code);
    // A push took the crate one square on from where the keeper now stands.
    if (d && isPushCode(code) && onBoard(x, y)) {
        std::uint8_t& here = s.board.at(x, y);
        if (here == CellEmpty)
            here = CellCrate;
        else if (here == CellTarget)
            here = CellCrateOnTarget;
        const int cx = x + d->dx;
        const int cy = y + d->dy;
        if (onBoard(cx, cy)) {
            std::uint8_t& crate = s.board.at(cx, cy);
            if (crate == CellCrate)
                crate = CellEmpty;
            else if (crate == CellCrateOnTarget)
                crate = CellTarget;
        }
    }
    // The keeper goes back one square and faces the way he had stepped.
    if (d) {
        s.keeperX = x - d->dx;
        s.keeperY = y - d->dy;
        s.facing = d->facing;
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
