// Finding a stored movie as LOAD and the solved dialog do: in a movie folder of a whole pack
// (255 movies) copied from the old computer in small letters, asked for in capitals, and
// asked for as written.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/filefinder.h"
#include "movies/moviefile.h"
#include "support/packbuilder.h"

namespace quarbel {
namespace {

constexpr int MoviesInAPack = 255;

void writeMovies(const testing::ScratchFolder& folder, const std::string& packName,
                 bool smallLetters) {
    std::filesystem::create_directory(packName);
    for (int level = 1; level <= MoviesInAPack; ++level) {
        std::string name = movieFileName(packName, std::to_string(level));
        if (smallLetters) {
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        folder.writeFile(name, "3");
    }
}

void BM_FindMovieInOtherLetterCase(benchmark::State& state) {
    testing::ScratchFolder folder;
    writeMovies(folder, "classics", true);
    for (auto _ : state)
        benchmark::DoNotOptimize(findName("CLASSICS/ZORP0128.MOV"));
}
BENCHMARK(BM_FindMovieInOtherLetterCase);

void BM_FindMovieAsWritten(benchmark::State& state) {
    testing::ScratchFolder folder;
    writeMovies(folder, "CLASSICS", false);
    for (auto _ : state)
        benchmark::DoNotOptimize(findName("CLASSICS/ZORP0128.MOV"));
}
BENCHMARK(BM_FindMovieAsWritten);

}  // namespace
}  // namespace quarbel

BENCHMARK_MAIN();
