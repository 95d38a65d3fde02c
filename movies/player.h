// The movie player: loads a level's stored movie and replays it through the ordinary key
// handler and undo, one step, ten steps or automatically, forwards and back.
#pragma once

#include "core/frontend.h"
#include "core/gamestate.h"

namespace quarbel {

// The replay timer's first interval, its design value, and how much each further press of
// play takes off while its interval is still above that step.
constexpr int MovieTimerStartInterval = designInterval(Timer::movietimer);
constexpr int MovieTimerSpeedUp = 30;

// Switches between game mode and movie mode; the sender is Sender::movie or Sender::game.
void MovieClick(GameState& s, Frontend& ui, Sender sender);

// Loads the movie of the shown level number (at most the history's capacity of steps) and
// starts that level.
void LoadClick(GameState& s, Frontend& ui);

// Replays the next step of the movie as the arrow key it stands for.
void mforward2Click(GameState& s, Frontend& ui, Sender sender);
void m10forward2Click(GameState& s, Frontend& ui, Sender sender);

// Takes the last replayed step back.
void mback2Click(GameState& s, Frontend& ui);
void m10back2Click(GameState& s, Frontend& ui);

void mbacktostart2Click(GameState& s, Frontend& ui);
void mplay2Click(GameState& s, Frontend& ui);
void mstop2Click(GameState& s, Frontend& ui);
void movietimerTimer(GameState& s, Frontend& ui);

}  // namespace quarbel
