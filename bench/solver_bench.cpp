// Proving the shipped levels: each level alone, and all of them as the test suite does.
// Run: solver_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/leveltext.h"
#include "tools/solver.h"

namespace {

using namespace quarbel;

struct ShippedLevel {
    std::string name;  // "warehouse/24"
    PackLevel level;
};

std::vector<ShippedLevel> shippedLevels() {
    const auto folder = std::filesystem::path(__FILE__).parent_path().parent_path() / "levels";
    std::vector<ShippedLevel> levels;
    for (const char* pack : {"lessons", "warehouse"}) {
        std::ifstream in(folder / (std::string(pack) + ".txt"), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const LevelCollection collection = readLevelText(text.str()).collection;
        for (std::size_t k = 0; k < collection.levels.size(); ++k) {
            const int number = static_cast<int>(k) + 1;
            levels.push_back({std::string(pack) + "/" + std::to_string(number),
                              packLevelOf(collection.levels[k]).level.value()});
        }
    }
    return levels;
}

// Solving and replaying to a solved board, as the proof does.
SolverResult prove(const PackLevel& level, benchmark::State& state) {
    SolverResult result = solveLevel(level.board, level.keeperX, level.keeperY);
    if (!result.moves || !replaySolves(level.board, level.keeperX, level.keeperY, *result.moves)) {
        state.SkipWithError("not proven");
    }
    return result;
}

void registerBenchmarks() {
    static const std::vector<ShippedLevel> levels = shippedLevels();
    for (const ShippedLevel& shipped : levels) {
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
            for (const ShippedLevel& shipped : levels)
                prove(shipped.level, state);
        }
        state.counters["levels"] = static_cast<double>(levels.size());
    })->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
