// Playing a level in the editor as the game plays it: the keeper moves through the game's move
// engine on a state of its own, and a solution the solver found can be watched move by move.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/gamestate.h"
#include "core/keys.h"
#include "core/nullfrontend.h"
#include "editor/level.h"

namespace quarbel::editor {

class PlaySession {
  public:
    // The level must pass its checks. With a solution (history codes) the session watches it.
    explicit PlaySession(const Level& level, std::vector<std::uint16_t> solution = {});

    // A game key: the cursor keys move the keeper, Backspace takes a step back. Any other key
    // is not the session's (false).
    bool press(KeyCode key);
    // The solution's next move, while the moves made so far are the solution's; false when
    // there is none to make.
    bool playNextSolutionMove();

    const GameState& state() const { return state_; }
    bool watching() const { return !solution_.empty(); }

    // "Playing level 2: 5 steps · solved! · Backspace takes a step back · Esc returns to
    // editing", or while watching "Watching the solution of level 2: move 3 of 9 · …".
    std::string status(int levelNumber) const;

  private:
    GameState state_;
    NullFrontend quietWindow_;
    std::vector<std::uint16_t> solution_;
};

}  // namespace quarbel::editor
