// The move engine: one step of the keeper, and taking the last step back.
#pragma once

#include "core/direction.h"
#include "core/frontend.h"
#include "core/gamestate.h"
#include "core/keys.h"

namespace quarbel {

// Steps or pushes in the direction of a cursor key (37 to 40) and records the move's history
// code. Turns the keeper even when the step is refused.
void stepKeeper(GameState& s, Frontend& ui, KeyCode key);

// Takes the last recorded step back, while a level is in play.
void undoMove(GameState& s, Frontend& ui);

void UndoButtonClick(GameState& s, Frontend& ui);

}  // namespace quarbel
