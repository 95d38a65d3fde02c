#include "editor/solving.h"

#include "core/counted.h"

namespace quarbel::editor {

SolveOutcome solveEditorLevel(const Level& level, const SearchWatch& watch,
                              const SolveLimits& limits) {
    bool cancelled = false;
    const SearchWatch watchAndNote = [&](std::size_t positions) {
        cancelled = watch && !watch(positions);
        return !cancelled;
    };
    const SolverResult result =
        solveLevel(level.board, level.keeperX, level.keeperY, limits, watchAndNote);
    SolveOutcome outcome;
    outcome.positions = result.statesSeen;
    if (cancelled) {
        outcome.verdict = SolveOutcome::Verdict::Cancelled;
    } else if (result.moves &&
               replaySolves(level.board, level.keeperX, level.keeperY, *result.moves)) {
        outcome.verdict = SolveOutcome::Verdict::Solvable;
        outcome.solution = *result.moves;
        outcome.pushes = result.pushes;
    } else if (result.exhausted) {
        outcome.verdict = SolveOutcome::Verdict::Unsolvable;
    }
    return outcome;
}

std::string groupedNumber(std::size_t number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

std::string describe(const SolveOutcome& outcome) {
    switch (outcome.verdict) {
        case SolveOutcome::Verdict::Solvable:
            return "solvable in " +
                   counted(static_cast<std::size_t>(outcome.pushes), "push", "pushes") + " and " +
                   counted(outcome.solution.size(), "move", "moves");
        case SolveOutcome::Verdict::Unsolvable:
            return "cannot be solved";
        case SolveOutcome::Verdict::Undecided:
            return "undecided after " + groupedNumber(outcome.positions) + " positions";
        case SolveOutcome::Verdict::Cancelled:
            break;
    }
    return "solving cancelled";
}

std::string SolveResults::keyOf(const Level& level) {
    std::string key(level.board.cells.begin(), level.board.cells.end());
    key += static_cast<char>(level.keeperX);
    key += static_cast<char>(level.keeperY);
    return key;
}

void SolveResults::remember(const Level& level, const SolveOutcome& outcome) {
    if (outcome.verdict == SolveOutcome::Verdict::Cancelled) return;
    outcomes_[keyOf(level)] = outcome;
}

const SolveOutcome* SolveResults::find(const Level& level) const {
    const auto found = outcomes_.find(keyOf(level));
    return found == outcomes_.end() ? nullptr : &found->second;
}

}  // namespace quarbel::editor
