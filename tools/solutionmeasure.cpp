#include "tools/solutionmeasure.h"

#include <array>
#include <vector>

#include "core/direction.h"

namespace quarbel {

SolutionMeasure measureSolution(const Board& board, int keeperX, int keeperY,
                                std::span<const std::uint16_t> moves) {
    // Each crate keeps its number as it moves, so a switch is a push of another number.
    std::array<int, BoardCells> crateAt;
    crateAt.fill(-1);
    auto index = [](int x, int y) { return (x - 1) * BoardSide + (y - 1); };
    std::vector<bool> onTargetAtStart;
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            if (!holdsCrate(board.at(x, y))) continue;
            crateAt[index(x, y)] = static_cast<int>(onTargetAtStart.size());
            onTargetAtStart.push_back(board.at(x, y) == CellCrateOnTarget);
        }
    }
    std::vector<int> runs(onTargetAtStart.size(), 0);
    SolutionMeasure measure;
    int last = -1;
    for (std::uint16_t code : moves) {
        const Direction* d = directionOfCode(code);
        if (!d) continue;
        keeperX += d->dx;
        keeperY += d->dy;
        ++measure.moves;
        if (!isPushCode(code) || !onBoard(keeperX, keeperY)) continue;
        const int crate = crateAt[index(keeperX, keeperY)];
        if (crate < 0 || !onBoard(keeperX + d->dx, keeperY + d->dy)) continue;
        crateAt[index(keeperX, keeperY)] = -1;
        crateAt[index(keeperX + d->dx, keeperY + d->dy)] = crate;
        ++measure.pushes;
        if (crate != last) {
            measure.switches += last >= 0;
            ++runs[crate];
            last = crate;
        }
    }
    for (std::size_t k = 0; k < runs.size(); ++k) {
        measure.waitingCrates += runs[k] >= 2;
        measure.idleCrateOnTarget = measure.idleCrateOnTarget || (onTargetAtStart[k] && !runs[k]);
    }
    return measure;
}

int difficultyOf(const SolutionMeasure& measure) {
    return 4 * measure.switches + 3 * measure.waitingCrates + measure.pushes;
}

}  // namespace quarbel
