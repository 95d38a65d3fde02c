// Importing a large collection: 10,000 levels of every form the reader takes, written as
// 40 packs (and with --movies, each level's checked solution as a movie), from the file to
// the packs in place.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "tools/packtool.h"

namespace {

using namespace quarbel;
namespace fs = std::filesystem;

constexpr int LevelCount = 10'000;

// Corridors of varied length with the keeper left of a crate, each with its solution, a
// title, an author and the odd comment, written in the various spellings.
std::string generatedCollection() {
    std::mt19937 random(14);
    std::string text = "Title: Ten Thousand Corridors\r\nAuthor: Bench\r\n; generated\r\n\r\n";
    for (int k = 1; k <= LevelCount; ++k) {
        const int walk = static_cast<int>(random() % 9);
        const std::string floor(walk, '-');
        text += "Level " + std::to_string(k) + "\r\n";
        if (k % 3 == 0) {
            text += std::to_string(walk + 5) + "#|#p" + floor + "$.#|" + std::to_string(walk + 5) +
                    "#\r\n";
        } else {
            const std::string wall(walk + 5, '#');
            text += wall + "\r\n#@" + floor + "$.#\r\n" + wall + "\r\n";
        }
        if (k % 7 == 0) text += "Author: Someone with a long name\r\n";
        if (k % 5 == 0) text += "Comment: easy\r\n";
        text += "Solution: " + std::string(walk, 'r') + "R\r\n\r\n";
    }
    return text;
}

void importInto(benchmark::State& state, bool movies) {
    const fs::path folder = fs::temp_directory_path() / "quarbel-import-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string source = (folder / "corridors.txt").string();
    std::ofstream(source, std::ios::binary) << generatedCollection();
    const std::string pack = (folder / "corridors.dat").string();
    for (auto _ : state) {
        std::string report;
        importCollection(source, pack, {movies, true, false}, report);
        benchmark::DoNotOptimize(report);
    }
    if (!fs::exists(folder / "corridors-40.dat")) state.SkipWithError("not 40 packs");
    state.counters["levels"] = LevelCount;
    fs::remove_all(folder);
}

void BM_Import10000Levels(benchmark::State& state) {
    importInto(state, false);
}
BENCHMARK(BM_Import10000Levels)->Unit(benchmark::kMillisecond);

void BM_Import10000LevelsWithMovies(benchmark::State& state) {
    importInto(state, true);
}
BENCHMARK(BM_Import10000LevelsWithMovies)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
