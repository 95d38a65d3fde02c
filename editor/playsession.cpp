#include "editor/playsession.h"

#include <algorithm>

#include "core/counted.h"
#include "core/direction.h"
#include "core/engine.h"

namespace quarbel::editor {

PlaySession::PlaySession(const Level& level, std::vector<std::uint16_t> solution)
    : solution_(std::move(solution)) {
    placeLevel(state_, level);
    state_.titleShowing = false;
}

bool PlaySession::press(KeyCode key) {
    switch (key) {
        case KeyLeft:
        case KeyRight:
        case KeyUp:
        case KeyDown:
            stepKeeper(state_, quietWindow_, key);
            return true;
        case KeyBack:
            undoMove(state_, quietWindow_);
            return true;
        default:
            return false;
    }
}

bool PlaySession::playNextSolutionMove() {
    const auto done = static_cast<std::size_t>(state_.historyTop);
    if (done >= solution_.size() ||
        !std::equal(solution_.begin(), solution_.begin() + state_.historyTop,
                    state_.history.begin())) {
        return false;
    }
    stepKeeper(state_, quietWindow_, keyForCode(solution_[done]));
    return true;
}

std::string PlaySession::status(int levelNumber) const {
    const auto steps = static_cast<std::size_t>(state_.historyTop);
    std::string text =
        watching() ? "Watching the solution of level " + std::to_string(levelNumber) + ": move " +
                         std::to_string(steps) + " of " + std::to_string(solution_.size()) +
                         " \u00b7 Space plays the next move"
                   : "Playing level " + std::to_string(levelNumber) + ": " +
                         counted(steps, "step", "steps");
    if (levelSolved(state_.board)) text += " \u00b7 solved!";
    return text + " \u00b7 Backspace takes a step back \u00b7 Esc returns to editing";
}

}  // namespace quarbel::editor
