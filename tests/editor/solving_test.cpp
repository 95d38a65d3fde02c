// Solving for the editor: a verdict the author can trust, progress and a way to stop.
#include <gtest/gtest.h>

#include "editor/solving.h"
#include "support/packbuilder.h"

namespace quarbel::editor {
namespace {

// Four crates in a room with three targets, a fourth behind the right of two doors, where a
// crate pushed through can be pushed on only from the left, and the way round through the left
// door is shut by a crate that can never leave its target: the searches forwards and backwards
// have to look at every position they reach before they know, and ask their watch many times.
const std::vector<std::string> WideRoom = {
    "###########", "#         #", "#  $   $  #", "#    $    #", "#  .  $ . #",
    "#    @  . #", "#         #", "### ## ####", "###*   .###", "###########",
};

TEST(Solving, ASolvableLevelShowsItsPushesAndMoves) {
    const SolveOutcome outcome =
        solveEditorLevel(testing::levelFromRows({"######", "#@ $.#", "######"}), {});
    ASSERT_EQ(outcome.verdict, SolveOutcome::Verdict::Solvable);
    EXPECT_EQ(outcome.solution, (std::vector<std::uint16_t>{3, 7}));
    EXPECT_EQ(describe(outcome), "solvable in 1 push and 2 moves");
}

TEST(Solving, TellsUnsolvableFromUndecided) {
    const SolveOutcome stuck =
        solveEditorLevel(testing::levelFromRows({"#####", "#$  #", "#@ .#", "#####"}), {});
    EXPECT_EQ(stuck.verdict, SolveOutcome::Verdict::Unsolvable);
    EXPECT_EQ(describe(stuck), "cannot be solved");
    const SolveOutcome limited = solveEditorLevel(testing::levelFromRows(WideRoom), {}, {0});
    EXPECT_EQ(limited.verdict, SolveOutcome::Verdict::Undecided);
    EXPECT_EQ(describe(limited).rfind("undecided after ", 0), 0u) << describe(limited);
    // The whole space takes under a second here, but many times that under a sanitizer.
    const SolveOutcome searched =
        solveEditorLevel(testing::levelFromRows(WideRoom), {}, {.seconds = 600});
    EXPECT_EQ(searched.verdict, SolveOutcome::Verdict::Unsolvable);
    EXPECT_GT(searched.positions, 10'000u);
}

TEST(Solving, ACrateStuckFromTheStartIsNeverASolution) {
    // The corner crate can never move; the other is one push from a target. The search used
    // to take the two distances for "solved" and offer an empty solution.
    const SolveOutcome outcome = solveEditorLevel(
        testing::levelFromRows({"#######", "#$    #", "#  @$.#", "#    .#", "#######"}), {});
    EXPECT_EQ(outcome.verdict, SolveOutcome::Verdict::Unsolvable);
}

TEST(Solving, TheWatchSeesProgressAndCanStopTheSearch) {
    std::vector<std::size_t> seen;
    const SolveOutcome outcome =
        solveEditorLevel(testing::levelFromRows(WideRoom), [&](std::size_t positions) {
            seen.push_back(positions);
            return seen.size() < 3;
        });
    EXPECT_EQ(outcome.verdict, SolveOutcome::Verdict::Cancelled);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_LT(seen[0], seen[1]);
    EXPECT_LT(seen[1], seen[2]);
    SolveResults results;
    results.remember(testing::levelFromRows(WideRoom), outcome);
    EXPECT_EQ(results.find(testing::levelFromRows(WideRoom)), nullptr)
        << "a cancelled search proves nothing";
}

TEST(Solving, VerdictsAreRememberedByWhatTheLevelLooksLike) {
    SolveResults results;
    Level level = testing::levelFromRows({"######", "#@ $.#", "######"});
    results.remember(level, solveEditorLevel(level, {}));
    level.author = "someone";
    ASSERT_NE(results.find(level), nullptr) << "the author does not change the verdict";
    level.keeperX = 3;
    EXPECT_EQ(results.find(level), nullptr);
    EXPECT_EQ(groupedNumber(4000000), "4,000,000");
    EXPECT_EQ(groupedNumber(999), "999");
    EXPECT_EQ(groupedNumber(1000), "1,000");
}

}  // namespace
}  // namespace quarbel::editor
