// The solved test and what follows a solved level: the success sound, the solved dialog
// and storing the solution as the level's movie.
#pragma once

#include <string>

#include "core/frontend.h"
#include "core/gamestate.h"

namespace quarbel {

// Runs after every step the engine tried. In movie mode a solved level only ends the
// replay; in game mode it plays the success sound, offers to save the movie and ends the
// level. A failed save ends the level all the same; its error goes to the window's report.
void CheckSolved(GameState& s, Frontend& ui);

// The step count of the stored movie of the started level, "0" when there is none.
std::string OldMovieSteps(const GameState& s);

// Stores the history as the movie of the started level, in the folder named after the pack
// (an existing one whose name differs only in letter case included). Throws IoError, or
// GameError when the pack's name cannot name a folder; the stored movie is then unchanged.
void SaveMovie(const GameState& s);

}  // namespace quarbel
