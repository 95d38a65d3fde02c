// Playing a level in the editor: the game's moves, a step back, and watching a solution.
#include <gtest/gtest.h>

#include "core/direction.h"
#include "editor/playsession.h"
#include "editor/solving.h"
#include "support/packbuilder.h"

namespace quarbel::editor {
namespace {

const std::string KeysHelp = " \u00b7 Backspace takes a step back \u00b7 Esc returns to editing";

TEST(PlaySession, MovesAndStepsBackAsTheGameDoes) {
    PlaySession play(testing::levelFromRows({"#######", "#@ $ .#", "#######"}));
    EXPECT_TRUE(play.press(KeyRight));
    EXPECT_TRUE(play.press(KeyRight));
    EXPECT_EQ(play.state().historyTop, 2);
    EXPECT_EQ(play.state().board.at(5, 2), CellCrate);
    EXPECT_EQ(play.status(4), "Playing level 4: 2 steps" + KeysHelp);
    EXPECT_TRUE(play.press(KeyBack));
    EXPECT_EQ(play.state().historyTop, 1);
    EXPECT_EQ(play.state().board.at(4, 2), CellCrate);
    EXPECT_FALSE(play.press(KeyReturn));
    EXPECT_FALSE(play.press(KeyAdd)) << "the level number is not the session's";
    EXPECT_FALSE(play.playNextSolutionMove()) << "no solution to watch";
    play.press(KeyRight);
    play.press(KeyRight);
    EXPECT_EQ(play.status(4), "Playing level 4: 3 steps \u00b7 solved!" + KeysHelp);
}

TEST(PlaySession, WatchesTheSolutionWhileThePlayerFollowsIt) {
    const Level level = testing::levelFromRows({"#######", "#@ $ .#", "#     #", "#######"});
    const SolveOutcome found = solveEditorLevel(level, {});
    ASSERT_EQ(found.verdict, SolveOutcome::Verdict::Solvable);
    const std::size_t length = found.solution.size();

    PlaySession strayed(level, found.solution);
    // A first move of the player's own.
    strayed.press(keyForCode(found.solution[0]) == KeyRight ? KeyDown : KeyRight);
    EXPECT_FALSE(strayed.playNextSolutionMove());
    strayed.press(KeyBack);
    EXPECT_TRUE(strayed.playNextSolutionMove()) << "back on the solution's path";

    PlaySession watch(level, found.solution);
    while (watch.playNextSolutionMove()) {
    }
    EXPECT_EQ(static_cast<std::size_t>(watch.state().historyTop), length);
    EXPECT_EQ(watch.state().board.at(6, 2), CellCrateOnTarget);
    EXPECT_EQ(watch.status(1), "Watching the solution of level 1: move " + std::to_string(length) +
                                   " of " + std::to_string(length) +
                                   " \u00b7 Space plays the next move \u00b7 solved!" + KeysHelp);
}

}  // namespace
}  // namespace quarbel::editor
