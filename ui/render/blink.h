// The keeper's blink: the handler of the blink timer zwinkern.
#pragma once

#include "core/frontend.h"
#include "core/gamestate.h"

namespace quarbel {

// A throw of a fair coin, 0 or 1.
using Coin = int (*)();

// Re-seeds a generator from the clock and throws it.
int clockCoin();

// Closed eyes open at the next tick; open eyes close when the coin shows 0.
void zwinkernTimer(GameState& s, Frontend& ui, Coin coin = clockCoin);

}  // namespace quarbel
