#include "editor/solvequeue.h"

namespace quarbel::editor {

std::optional<std::string> SolveQueue::solveOne(const Pack& pack, int index) {
    if (busy()) return "Solving is still running";
    const Level& level = pack.levels.at(static_cast<std::size_t>(index));
    if (!levelProblems(level).empty()) {
        return "Level " + std::to_string(index + 1) + " fails its checks and is not solved";
    }
    return start({{index, level}});
}

std::optional<std::string> SolveQueue::solveAll(const Pack& pack) {
    if (busy()) return "Solving is still running";
    std::deque<Job> jobs;
    for (std::size_t k = 0; k < pack.levels.size(); ++k) {
        const Level& level = pack.levels[k];
        if (levelProblems(level).empty() && results_.find(level) == nullptr) {
            jobs.push_back({static_cast<int>(k), level});
        }
    }
    if (jobs.empty()) return "Every level that passes its checks has been solved";
    return start(std::move(jobs));
}

std::optional<std::string> SolveQueue::start(std::deque<Job> jobs) {
    waiting_ = std::move(jobs);
    roundSize_ = static_cast<int>(waiting_.size());
    started_ = 0;
    roundCancelled_ = false;
    return std::nullopt;
}

std::optional<SolveQueue::Job> SolveQueue::nextJob() {
    if (waiting_.empty()) return std::nullopt;
    Job job = std::move(waiting_.front());
    waiting_.pop_front();
    running_[job.index] = 0;
    ++started_;
    return job;
}

void SolveQueue::progress(int index, std::size_t positions) {
    const auto running = running_.find(index);
    if (running != running_.end()) running->second = positions;
}

std::string SolveQueue::finish(const Job& job, const SolveOutcome& outcome, const Pack& pack) {
    running_.erase(job.index);
    results_.remember(job.level, outcome);
    if (outcome.verdict == SolveOutcome::Verdict::Cancelled) {
        roundCancelled_ = true;
        waiting_.clear();
    }
    if (!busy() && roundSize_ > 1 && !roundCancelled_) {
        return "Solved all levels: " + levelsNotProvenSolvable(pack, results_);
    }
    return "Level " + std::to_string(job.index + 1) + ": " + describe(outcome);
}

std::string SolveQueue::progressText() const {
    std::string levels;
    std::size_t positions = 0;
    for (const auto& [index, searched] : running_) {
        if (!levels.empty()) levels += running_.size() == 2 ? " and " : ", ";
        levels += std::to_string(index + 1);
        positions += searched;
    }
    std::string text = (running_.size() > 1 ? "Solving levels " : "Solving level ") + levels;
    if (roundSize_ > 1) {
        text += " (" + std::to_string(started_) + " of " + std::to_string(roundSize_) + ")";
    }
    return text + ": " + groupedNumber(positions) + " positions searched";
}

std::string levelsNotProvenSolvable(const Pack& pack, const SolveResults& results) {
    std::string numbers;
    for (std::size_t k = 0; k < pack.levels.size(); ++k) {
        const SolveOutcome* outcome = results.find(pack.levels[k]);
        if (outcome != nullptr && outcome->verdict == SolveOutcome::Verdict::Solvable) continue;
        if (!numbers.empty()) numbers += ", ";
        numbers += std::to_string(k + 1);
    }
    return numbers.empty() ? "every level can be solved" : "levels not proven solvable: " + numbers;
}

}  // namespace quarbel::editor
