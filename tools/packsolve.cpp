// quarbel-pack solve: each level checked as an import checks it, solved, and the solution
// replayed through the move engine before it counts.
#include "tools/packtool.h"

#include <sstream>

#include "core/levelpack.h"
#include "tools/levelconvert.h"
#include "tools/solver.h"

namespace quarbel {

namespace {

// "level 3 'Gate': ", what a line about a level starts with.
std::string levelLead(const LevelCollection& levels, int levelNumber) {
    return levelName(levelNumber, levels.levels[levelNumber - 1].title) + ": ";
}

// The solver's answer as a proven solution, or why there is none.
ProvenSolution provenOrThrow(const Level& level, const SolverResult& result,
                             const SolveLimits& limits) {
    if (result.exhausted) throw ToolError("cannot be solved");
    if (!result.moves) {
        std::ostringstream seconds;
        seconds << limits.seconds;
        throw ToolError("no solution found within " + seconds.str() + " s (" +
                        std::to_string(result.statesSeen) + " positions searched)");
    }
    if (!replaySolves(level.board, level.keeperX, level.keeperY, *result.moves)) {
        throw ToolError("the solution found does not replay to a solved board");
    }
    return {*result.moves, result.pushes, result.statesSeen};
}

}  // namespace

std::string describeSolution(const ProvenSolution& solution) {
    return std::to_string(solution.moves.size()) + " moves, " + std::to_string(solution.pushes) +
           " pushes, " + std::to_string(solution.statesSeen) + " positions searched";
}

ProvenSolution solveLevelOf(const std::string& fileName, int levelNumber,
                            const SolveLimits& limits) {
    const LevelCollection levels = levelsOfFile(fileName);
    const int count = static_cast<int>(levels.levels.size());
    if (levelNumber < 1 || levelNumber > count) {
        throw ToolError("level " + std::to_string(levelNumber) + " is not in " + fileName +
                        " (1 to " + std::to_string(count) + ")");
    }
    const std::string name = levelLead(levels, levelNumber);
    // Checked as an import would check it, so the solver only meets levels it can prove.
    const PackLevelResult checked = packLevelOf(levels.levels[levelNumber - 1]);
    if (!checked.level) throw ToolError(name + checked.reason);
    const Level& level = *checked.level;
    try {
        return provenOrThrow(level, solveLevel(level.board, level.keeperX, level.keeperY, limits),
                             limits);
    } catch (const ToolError& failure) {
        throw ToolError(name + failure.what());
    }
}

int solveEveryLevel(const std::string& fileName, const SolveLimits& limits, bool movies, bool force,
                    std::string& report) {
    const LevelCollection levels = levelsOfFile(fileName);
    const std::size_t count = levels.levels.size();
    std::vector<std::string> lines(count);
    std::vector<LevelToSolve> searched;
    std::vector<std::size_t> numbers;  // index into the levels, per searched level
    std::vector<Level> checkedLevels;
    for (std::size_t k = 0; k < count; ++k) {
        const PackLevelResult checked = packLevelOf(levels.levels[k]);
        if (!checked.level) {
            lines[k] = checked.reason;
            continue;
        }
        searched.push_back({checked.level->board, checked.level->keeperX, checked.level->keeperY});
        checkedLevels.push_back(*checked.level);
        numbers.push_back(k);
    }
    const std::vector<SolverResult> results = solveLevels(searched, limits);
    int solved = 0;
    for (std::size_t s = 0; s < searched.size(); ++s) {
        const int number = static_cast<int>(numbers[s]) + 1;
        try {
            const ProvenSolution solution = provenOrThrow(checkedLevels[s], results[s], limits);
            lines[numbers[s]] = describeSolution(solution);
            ++solved;
            if (movies) {
                const std::string movie = movieFileOf(fileName, number);
                writeMovie(movie, solution.moves, force);
                lines[numbers[s]] += "; wrote " + movie;
            }
        } catch (const ToolError& failure) {
            lines[numbers[s]] +=
                lines[numbers[s]].empty() ? failure.what() : std::string("; ") + failure.what();
        }
    }
    for (std::size_t k = 0; k < count; ++k)
        report += levelLead(levels, static_cast<int>(k) + 1) + lines[k] + "\n";
    report += "solved " + std::to_string(solved) + " of " + std::to_string(count) + " levels\n";
    return solved;
}

}  // namespace quarbel
