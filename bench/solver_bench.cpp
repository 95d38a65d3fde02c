// Proving the shipped levels: each level alone, and all of them as the test suite does; and
// solving the crowded levels of bench/levels/solved.txt, which take seconds.
// Run: solver_bench --benchmark_counters_tabular=true
//
// solver_bench --signature prints one number, the positions searched over the shipped levels,
// the hard test levels and the solved crowded ones, and by the search backwards alone over the
// crowded ones, each search bounded by positions and not by time, so that the number is the
// same on every machine and changes only when the search does.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "tools/levelconvert.h"
#include "tools/solver.h"

namespace {

using namespace quarbel;

struct NamedLevel {
    std::string name;  // "warehouse/24"
    Level level;
};

std::vector<NamedLevel> levelsOf(const std::filesystem::path& file, const std::string& pack) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) throw std::runtime_error("cannot read " + file.string());
    const LevelCollection collection = readLevelText(text.str()).collection;
    std::vector<NamedLevel> levels;
    for (std::size_t k = 0; k < collection.levels.size(); ++k) {
        levels.push_back(
            {pack + "/" + std::to_string(k + 1), packLevelOf(collection.levels[k]).level.value()});
    }
    return levels;
}

const std::filesystem::path Source = QUARBEL_SOURCE_DIR;

std::vector<NamedLevel> shippedLevels() {
    std::vector<NamedLevel> levels;
    for (const char* pack : {"lessons", "warehouse"}) {
        auto more = levelsOf(Source / "levels" / (std::string(pack) + ".txt"), pack);
        levels.insert(levels.end(), more.begin(), more.end());
    }
    return levels;
}

// Solving and replaying to a solved board, as the proof does.
SolverResult prove(const Level& level, benchmark::State& state) {
    SolverResult result = solveLevel(level.board, level.keeperX, level.keeperY);
    if (!result.moves || !replaySolves(level.board, level.keeperX, level.keeperY, *result.moves)) {
        state.SkipWithError("not proven");
    }
    return result;
}

std::vector<NamedLevel> solvedCrowdedLevels() {
    return levelsOf(Source / "bench" / "levels" / "solved.txt", "crowded");
}

void registerBenchmarks() {
    static const std::vector<NamedLevel> crowded = solvedCrowdedLevels();
    for (const NamedLevel& level : crowded) {
        benchmark::RegisterBenchmark(("solve/" + level.name).c_str(),
                                     [&level](benchmark::State& state) {
                                         SolverResult result;
                                         for (auto _ : state)
                                             result = prove(level.level, state);
                                         state.counters["states"] =
                                             static_cast<double>(result.statesSeen);
                                         state.counters["pushes"] = result.pushes;
                                     })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    static const std::vector<NamedLevel> levels = shippedLevels();
    for (const NamedLevel& shipped : levels) {
        benchmark::RegisterBenchmark(("prove/" + shipped.name).c_str(), [&shipped](benchmark::State&
                                                                                       state) {
            SolverResult result;
            for (auto _ : state)
                result = prove(shipped.level, state);
            state.counters["states"] = static_cast<double>(result.statesSeen);
            state.counters["pushes"] = result.pushes;
        })->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("prove/all", [](benchmark::State& state) {
        for (auto _ : state) {
            for (const NamedLevel& shipped : levels)
                prove(shipped.level, state);
        }
        state.counters["levels"] = static_cast<double>(levels.size());
    })->Unit(benchmark::kMillisecond);
}

int printSignature() {
    std::vector<NamedLevel> named = shippedLevels();
    const auto hard = levelsOf(Source / "bench" / "levels" / "hard.txt", "hard");
    named.insert(named.end(), hard.begin(), hard.begin() + std::min<std::size_t>(hard.size(), 30));
    const auto crowded = solvedCrowdedLevels();
    named.insert(named.end(), crowded.begin(), crowded.end());
    std::vector<LevelToSolve> levels;
    for (const NamedLevel& level : named)
        levels.push_back({level.level.board, level.level.keeperX, level.level.keeperY});
    const SolveLimits limits{.seconds = std::numeric_limits<double>::infinity(),
                             .positions = 300'000};
    std::size_t positions = 0;
    int solved = 0;
    for (const SolverResult& result : solveLevels(levels, limits)) {
        positions += result.statesSeen;
        solved += result.moves.has_value();
    }
    int unpacked = 0;
    for (const NamedLevel& level : crowded) {
        const SolverResult backwards =
            solveLevelOneWay(level.level.board, level.level.keeperX, level.level.keeperY,
                             SearchWay::Backwards, limits);
        unpacked += backwards.moves.has_value();
        positions += backwards.statesSeen;
    }
    std::cerr << "solved " << solved << " of " << levels.size() << " levels, " << unpacked << " of "
              << crowded.size() << " backwards\n";
    std::cout << positions << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--signature") == 0) {
        try {
            return printSignature();
        } catch (const std::exception& failure) {
            std::cerr << "solver_bench: " << failure.what() << "\n";
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
