// Solving one level or every level: what is searched, side by side, and what the author reads.
#include <gtest/gtest.h>

#include "editor/solvequeue.h"
#include "support/packbuilder.h"

namespace quarbel::editor {
namespace {

SolveOutcome outcome(SolveOutcome::Verdict verdict) {
    SolveOutcome found;
    found.verdict = verdict;
    if (verdict == SolveOutcome::Verdict::Solvable) {
        found.solution = {3, 7};
        found.pushes = 1;
    }
    return found;
}

TEST(SolveQueue, SolvesEveryLevelNotSolvedYetSideBySideAndSumsUp) {
    const Pack pack{"Pack",
                    {testing::levelFromRows({"#@$.#"}), Level{}, testing::levelFromRows({"#@ $.#"}),
                     testing::levelFromRows({"#@  $.#"})}};
    SolveQueue queue;
    EXPECT_EQ(queue.solveOne(pack, 1), "Level 2 fails its checks and is not solved");
    EXPECT_EQ(queue.solveOne(pack, 0), std::nullopt);
    const auto first = queue.nextJob();
    ASSERT_TRUE(first);
    EXPECT_EQ(queue.nextJob(), std::nullopt);
    EXPECT_EQ(queue.progressText(), "Solving level 1: 0 positions searched");
    EXPECT_EQ(queue.finish(*first, outcome(SolveOutcome::Verdict::Solvable), pack),
              "Level 1: solvable in 1 push and 2 moves");
    EXPECT_FALSE(queue.busy());

    EXPECT_EQ(queue.solveAll(pack), std::nullopt);
    const auto third = queue.nextJob();
    const auto fourth = queue.nextJob();
    ASSERT_TRUE(third && fourth);
    EXPECT_EQ(third->index, 2) << "level 1 is solved, level 2 fails its checks";
    EXPECT_EQ(fourth->index, 3);
    queue.progress(2, 1500);
    queue.progress(3, 10);
    EXPECT_EQ(queue.progressText(), "Solving levels 3 and 4 (2 of 2): 1,510 positions searched");
    EXPECT_EQ(queue.solveAll(pack), "Solving is still running");
    EXPECT_EQ(queue.finish(*fourth, outcome(SolveOutcome::Verdict::Undecided), pack),
              "Level 4: undecided after 0 positions");
    EXPECT_EQ(queue.progressText(), "Solving level 3 (2 of 2): 1,500 positions searched");
    EXPECT_EQ(queue.finish(*third, outcome(SolveOutcome::Verdict::Solvable), pack),
              "Solved all levels: levels not proven solvable: 2, 4");
    EXPECT_NE(queue.results().find(pack.levels[3]), nullptr);
    EXPECT_EQ(queue.solveAll(pack), "Every level that passes its checks has been solved");
}

TEST(SolveQueue, CancellingEndsTheRoundWithoutASummary) {
    const Pack pack{"Pack",
                    {testing::levelFromRows({"#@$.#"}), testing::levelFromRows({"#@ $.#"}),
                     testing::levelFromRows({"#@  $.#"})}};
    SolveQueue queue;
    ASSERT_EQ(queue.solveAll(pack), std::nullopt);
    const auto first = queue.nextJob();
    const auto second = queue.nextJob();
    queue.cancel();
    EXPECT_EQ(queue.nextJob(), std::nullopt);
    EXPECT_TRUE(queue.busy()) << "two searches are still to report";
    EXPECT_EQ(queue.finish(*first, outcome(SolveOutcome::Verdict::Cancelled), pack),
              "Level 1: solving cancelled");
    EXPECT_EQ(queue.finish(*second, outcome(SolveOutcome::Verdict::Solvable), pack),
              "Level 2: solvable in 1 push and 2 moves");
    EXPECT_FALSE(queue.busy());
    EXPECT_EQ(queue.results().find(pack.levels[0]), nullptr) << "a cancelled search proves nothing";
    EXPECT_EQ(levelsNotProvenSolvable(pack, queue.results()), "levels not proven solvable: 1, 3");
}

}  // namespace
}  // namespace quarbel::editor
