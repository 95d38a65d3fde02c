// A pack of a few levels in a scratch folder, entered through the title screen, with the
// engine's hand-over points wired to the movie code.
#pragma once

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "core/frontend.h"
#include "core/gamestate.h"
#include "support/fakefrontend.h"
#include "support/packbuilder.h"

namespace quarbel::testing {

// Level 7 of the pack: two crates, solved by TheSolutionKeys in 14 steps.
inline constexpr std::string_view TheSolutionKeys = "RRRRRDDLLLLULD";
inline constexpr std::string_view TheSolutionDigits = "33777224448146";
inline constexpr int TheSolutionSteps = 14;
inline constexpr const char* TheMovie = "PACK1/ZORP0007.MOV";

Level twoCratesLevel();
// Writes PACK1.dat, eight copies of that level, and leaves the title screen into level 7.
void enterLevelSeven(const ScratchFolder& folder, GameState& s, FakeFrontend& fake);

// Keys as letters: L, U, R, D for the arrows, B Backspace, E Enter.
void pressKeys(GameState& s, Frontend& ui, std::string_view keys, Sender sender);

class MovieFlow : public ::testing::Test {
  protected:
    MovieFlow();

    void press(std::string_view keys, Sender sender = Sender::MainWindow);
    void showLevel(const std::string& number);
    void storeMovie(const std::string& digits) const;
    // How often the solved dialog was shown.
    int dialogs() const;

    ScratchFolder folder;
    GameState s;
    FakeFrontend fake;
};

}  // namespace quarbel::testing
