#include "mouse/mouseinput.h"

#include "core/engine.h"
#include "core/keys.h"
#include "core/play.h"

namespace quarbel {

namespace {

bool onBoardImage(const Frontend& ui, int x, int y) {
    const int side = ui.boardSide();
    return x >= 0 && x < side && y >= 0 && y < side;
}

void setRepeat(Frontend& ui, bool on) {
    ui.setTimerEnabled(Timer::mousetimer, on);
}

// The repeat walks towards this position from now on.
void storePointer(GameState& s, int x, int y) {
    s.lastMouseX = x;
    s.lastMouseY = y;
    s.undoRepeat = false;
}

// The direction towards a square of the keeper's row or column, or towards a first step.
KeyCode keyTowards(const GameState& s, int col, int row) {
    if (col > s.keeperX) return KeyRight;
    if (col < s.keeperX) return KeyLeft;
    if (row > s.keeperY) return KeyDown;
    if (row < s.keeperY) return KeyUp;
    return KeyNone;
}

}  // namespace

void FormMouseDown(GameState& s, Frontend& ui, PathFinder& finder, Sender sender,
                   MouseButton button, int x, int y) {
    if (s.titleShowing) {
        // The press that leaves the title screen does not act on the board.
        enterGame(s, ui, true);
    } else if (button == MouseButton::Right) {
        undoMove(s, ui);
        setRepeat(ui, true);
        // A flag of its own, not a marked pointer column: any column can be a real square.
        s.undoRepeat = true;
    } else if (button == MouseButton::Left && !s.movieMode &&
               (sender == Sender::zeichenflaeche || sender == Sender::mousetimer) &&
               onBoardImage(ui, x, y)) {
        boardClick(s, ui, finder, sender, x, y);
    }
}

void boardClick(GameState& s, Frontend& ui, PathFinder& finder, Sender sender, int x, int y) {
    finder.buildPassGrid(s);
    const int side = ui.boardSide();
    const int col = x * BoardSide / side + 1;
    const int row = y * BoardSide / side + 1;

    const int dx = col - s.keeperX;
    const int dy = row - s.keeperY;
    const bool neighbour = dx * dx + dy * dy == 1;
    if (dx == 0 || dy == 0) {
        storePointer(s, x, y);
        setRepeat(ui, neighbour);
    }
    // A neighbour is stepped on or pushed without a search.
    if (neighbour) {
        FormKeyDown(s, ui, sender, keyTowards(s, col, row));
        return;
    }

    const PathNode* target = finder.findPath(s.keeperX, s.keeperY, col, row);
    if (!target) return;
    const auto [fx, fy] = firstStep(*target);
    const KeyCode key = keyTowards(s, fx, fy);
    // The repeat is set before the step: a step that solves the level opens the solved
    // dialog, and the solved handling's stop of the repeat must stay in force after it.
    setRepeat(ui, true);
    storePointer(s, x, y);
    FormKeyDown(s, ui, sender, key);
}

void zeichenflaecheMouseMove(GameState& s, int x, int y) {
    if (s.undoRepeat) return;
    s.lastMouseX = x;
    s.lastMouseY = y;
}

void zeichenflaecheMouseUp(Frontend& ui) {
    setRepeat(ui, false);
}

void mousetimerTimer(GameState& s, Frontend& ui, PathFinder& finder) {
    if (s.undoRepeat) {
        undoMove(s, ui);
    } else {
        FormMouseDown(s, ui, finder, Sender::mousetimer, MouseButton::Left, s.lastMouseX,
                      s.lastMouseY);
    }
}

}  // namespace quarbel
