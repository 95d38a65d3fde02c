// Solving a level for the editor: the verdict shown on the level, and the verdicts already
// found, remembered by what the level looks like so that an undo back to a solved level
// shows its verdict again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "editor/level.h"
#include "tools/solver.h"

namespace quarbel::editor {

struct SolveOutcome {
    enum class Verdict { Solvable, Unsolvable, Undecided, Cancelled };
    Verdict verdict = Verdict::Undecided;
    std::vector<std::uint16_t> solution;  // history codes; replayed to a solved board
    int pushes = 0;
    std::size_t positions = 0;  // positions searched
};

// Runs the solver on a level that passes its checks. `watch` sees the positions searched and
// may stop the search (the verdict is then Cancelled). A solution counts only once the move
// engine has replayed it to a solved board.
SolveOutcome solveEditorLevel(const Level& level, const SearchWatch& watch,
                              const SolveLimits& limits = {});

// "solvable in 12 pushes and 40 moves", "cannot be solved", "undecided after 4,000,000
// positions", "solving cancelled".
std::string describe(const SolveOutcome& outcome);

// A count with thousands separated by commas: 4,000,000.
std::string groupedNumber(std::size_t number);

class SolveResults {
  public:
    void remember(const Level& level, const SolveOutcome& outcome);
    // The verdict for a level with this board and keeper, or nullptr.
    const SolveOutcome* find(const Level& level) const;
    void clear() { outcomes_.clear(); }

  private:
    static std::string keyOf(const Level& level);
    std::map<std::string, SolveOutcome> outcomes_;
};

}  // namespace quarbel::editor
