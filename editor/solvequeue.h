// The levels waiting to be solved, the searches running and the verdicts found. A round is
// one level or every level not solved yet; the window runs the searches it hands out, several
// side by side, and reports back what each found. The texts are what the author reads.
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "editor/document.h"
#include "editor/solving.h"

namespace quarbel::editor {

class SolveQueue {
  public:
    struct Job {
        int index;    // the level's place in the pack when the round started
        Level level;  // as it was then
    };

    // Start a round; refused while one runs. The text says why nothing was queued.
    std::optional<std::string> solveOne(const Pack& pack, int index);
    std::optional<std::string> solveAll(const Pack& pack);

    bool busy() const { return !waiting_.empty() || !running_.empty(); }
    // The next level to search, now counted as running.
    std::optional<Job> nextJob();
    void progress(int index, std::size_t positions);
    // A search ended: its verdict is remembered, and the text is what to tell the author
    // ("Level 2: cannot be solved", or once a round of every level is over, the summary).
    std::string finish(const Job& job, const SolveOutcome& outcome, const Pack& pack);
    // Drops the levels still waiting; the running searches are for the caller to stop.
    void cancel() { waiting_.clear(); }

    // "Solving level 3 (2 of 5): 1,200 positions searched"; several running levels are
    // listed and their positions added up.
    std::string progressText() const;

    const SolveResults& results() const { return results_; }

  private:
    std::optional<std::string> start(std::deque<Job> jobs);

    SolveResults results_;
    std::deque<Job> waiting_;
    std::map<int, std::size_t> running_;  // level index: positions searched so far
    int roundSize_ = 0;
    int started_ = 0;
    bool roundCancelled_ = false;
};

// "every level can be solved", or "levels not proven solvable: 2, 5".
std::string levelsNotProvenSolvable(const Pack& pack, const SolveResults& results);

}  // namespace quarbel::editor
