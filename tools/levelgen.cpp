// quarbel-levelgen: turns rooms drawn by hand into levels, and measures levels.
//
// usage: quarbel-levelgen ROOMS.txt [SOLUTIONS.txt] > LEVELS.txt
//        quarbel-levelgen --table LEVELS.txt...
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "core/files.h"
#include "tools/levelconvert.h"
#include "tools/roomgen.h"

namespace {

using namespace quarbel;

std::string fileText(const std::string& name) {
    return readFile(name, MaxCollectionBytes);
}

std::string widthByHeight(const TextLevel& level) {
    return std::to_string(level.width()) + " x " + std::to_string(level.rows.size());
}

// One Markdown row per level: what the solver needs to prove it and what its solution asks.
void printTable(const std::string& fileName) {
    const LevelCollection collection = readLevelText(fileText(fileName)).collection;
    const std::string pack = std::filesystem::path(fileName).stem().string();
    for (std::size_t k = 0; k < collection.levels.size(); ++k) {
        const TextLevel& text = collection.levels[k];
        const auto fitted = packLevelOf(text);
        if (!fitted.level)
            throw LevelTextError("level " + std::to_string(k + 1) + ": " + fitted.reason);
        const Level& level = *fitted.level;
        const auto started = std::chrono::steady_clock::now();
        const SolverResult result = solveLevel(level.board, level.keeperX, level.keeperY);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        char row[200];
        if (result.moves) {
            const SolutionMeasure m =
                measureSolution(level.board, level.keeperX, level.keeperY, *result.moves);
            std::snprintf(row, sizeof row,
                          "| %s | %zu | %s | %d | %d | %d | %d | %d | %zu | %.2f s |", pack.c_str(),
                          k + 1, widthByHeight(text).c_str(), text.crates(), m.pushes, m.moves,
                          m.switches, m.waitingCrates, result.statesSeen, took.count());
        } else {
            std::snprintf(row, sizeof row,
                          "| %s | %zu | %s | %d | not proved | | | | %zu | %.2f s |", pack.c_str(),
                          k + 1, widthByHeight(text).c_str(), text.crates(), result.statesSeen,
                          took.count());
        }
        std::cout << row << std::endl;
    }
}

// The levels to the standard output; with a solutions file, the same levels each with its
// solution there too, so that the tests replay them instead of searching again.
void generate(const std::string& fileName, const std::string& solutionsFile) {
    LevelCollection rooms = readLevelText(fileText(fileName)).collection;
    const std::vector<GeneratedLevel> levels = generatePack(rooms);
    rooms.levels.clear();
    // Each level names its author, as an exported pack does.
    rooms.author.clear();
    LevelCollection solved = rooms;
    for (std::size_t k = 0; k < levels.size(); ++k) {
        const SolutionMeasure& m = levels[k].measure;
        std::cerr << "level " << k + 1 << ": " << m.pushes << " pushes, " << m.switches
                  << " switches, " << m.waitingCrates << " crates waiting, " << levels[k].positions
                  << " positions\n";
        solved.levels.push_back(levels[k].level);
        rooms.levels.push_back(levels[k].level);
        rooms.levels.back().solution.clear();
    }
    if (!solutionsFile.empty()) replaceFile(solutionsFile, formatLevelText(solved));
    writeStream(STDOUT_FILENO, formatLevelText(rooms), "the standard output");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string usage =
        "usage: quarbel-levelgen ROOMS.txt [SOLUTIONS.txt] > LEVELS.txt\n"
        "       quarbel-levelgen --table LEVELS.txt...\n";
    try {
        if (argc >= 3 && std::string(argv[1]) == "--table") {
            std::cout << "| Pack | No. | Size | Crates | Pushes | Moves | Switches | Waiting | "
                         "Positions | Time |\n|---|---|---|---|---|---|---|---|---|---|\n";
            for (int k = 2; k < argc; ++k)
                printTable(argv[k]);
        } else if ((argc == 2 || argc == 3) && argv[1][0] != '-') {
            generate(argv[1], argc == 3 ? argv[2] : "");
        } else {
            std::cerr << usage;
            return 1;
        }
    } catch (const std::exception& failure) {
        std::cerr << "quarbel-levelgen: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
