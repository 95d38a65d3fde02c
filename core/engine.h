// The move engine: one step of the keeper, and taking the last step back.
#pragma once

#include "frontend.h"
#include "gamestate.h"
#include "keys.h"

namespace quarbel {

// History codes: 1 walk up, 2 walk down, 3 walk right, 4 walk left; a push is its walk + 4.
constexpr int PushOffset = 4;

// Steps or pushes in the direction of a cursor key (37 to 40). Turns the keeper even when
// the step is refused.
void stepKeeper(GameState& s, Frontend& ui, KeyCode key);

// Takes the last recorded step back, while a level is in play.
void undoMove(GameState& s, Frontend& ui);

void UndoButtonClick(GameState& s, Frontend& ui);

// The cursor key that replays a history code, or KeyNone for a code outside 1 to 8.
KeyCode keyForCode(int code);

}  // namespace quarbel
