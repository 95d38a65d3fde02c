#include "ui/render/blink.h"

#include <chrono>
#include <random>

namespace quarbel {

int clockCoin() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::mt19937 generator(static_cast<std::mt19937::result_type>(now));
    return std::uniform_int_distribution<int>(0, 1)(generator);
}

void zwinkernTimer(GameState& s, Frontend& ui, Coin coin) {
    if (s.eyesClosed) {
        s.eyesClosed = false;
        ui.drawBoard(false, true);
    } else if (coin() == 0) {
        s.eyesClosed = true;
        ui.drawBoard(false, false);
    }
}

}  // namespace quarbel
