// Playing with the mouse: the left button steps, pushes and walks, the right one takes
// steps back, and a held button repeats either every tick of the timer mousetimer.
#pragma once

#include "core/frontend.h"
#include "core/gamestate.h"
#include "mouse/pathfinder.h"

namespace quarbel {

enum class MouseButton { Left, Right, Middle };

// A press on the window, the board image zeichenflaeche or the title picture; X and Y are
// relative to the pressed control. A repeat tick comes here as a left press of mousetimer.
void FormMouseDown(GameState& s, Frontend& ui, PathFinder& finder, Sender sender,
                   MouseButton button, int x, int y);

// A left press on the square under (x, y) of the board image, as a press or a tick.
void boardClick(GameState& s, Frontend& ui, PathFinder& finder, Sender sender, int x, int y);

void zeichenflaecheMouseMove(GameState& s, int x, int y);
void zeichenflaecheMouseUp(Frontend& ui);
void mousetimerTimer(GameState& s, Frontend& ui, PathFinder& finder);

}  // namespace quarbel
