// Level play: entering the game, starting levels, the level number, the clock and the keys.
#pragma once

#include <string>

#include "core/frontend.h"
#include "core/gamestate.h"
#include "core/keys.h"

namespace quarbel {

// Lets the player choose a pack and reads its header. Throws when no pack was ever chosen,
// or the chosen one cannot be read or holds no levels; only packFileName has changed then.
void choosePack(GameState& s, Frontend& ui);

// Reads the level whose number is shown into the board and shows its author.
void loadLevel(GameState& s, Frontend& ui);

void StartClick(GameState& s, Frontend& ui);

void changeLevelNumber(GameState& s, Frontend& ui, int delta);
void plusClick(GameState& s, Frontend& ui);
void minusClick(GameState& s, Frontend& ui);
void plusplusClick(GameState& s, Frontend& ui);
void minusminusClick(GameState& s, Frontend& ui);

// Leaves the title screen (or, from the GAME button, changes packs) and starts a level.
void enterGame(GameState& s, Frontend& ui, bool showControls);

// The GAME button playtitel: a new pack, played from its first level.
void playtitelClick(GameState& s, Frontend& ui);

// The window's key handler; every key passes here first, whichever control has the focus.
void FormKeyDown(GameState& s, Frontend& ui, Sender sender, KeyCode key);

void zeittimeTimer(GameState& s, Frontend& ui);

// "00:00:59", "01:01:01", "100:00:00".
std::string clockText(int seconds);

// The shown level number, 0 when the caption holds no number.
int shownLevelNumber(const Frontend& ui);

}  // namespace quarbel
