#include "tools/roomgen.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "core/direction.h"
#include "core/level.h"
#include "tools/levelconvert.h"
#include "tools/packtool.h"
#include "tools/room.h"

namespace quarbel {

namespace {

// The build's levels come from this seed; a new seed makes other levels.
constexpr std::uint32_t GeneratorSeed = 98;

// k distinct entries of the range, chosen by the generator's own random numbers so that every
// standard library picks the same.
template <typename T>
std::vector<T> sample(std::vector<T> from, std::size_t k, std::mt19937& random) {
    k = std::min(k, from.size());
    for (std::size_t i = 0; i < k; ++i) {
        std::swap(from[i], from[i + random() % (from.size() - i)]);
    }
    from.resize(k);
    return from;
}

// The pushes a crate needs from each square to the nearest target with no other crate in its
// way, -1 where it can never reach one. Summed over the crates it is a lower bound of the pushes
// a start needs: far starts in a large room are told by it where layers no longer tell them.
std::vector<int> pushDistances(const Room& room, const std::vector<int>& targets) {
    std::vector<int> distance(room.cells.size(), -1);
    std::vector<int> queue(targets.begin(), targets.end());
    for (int t : targets)
        distance[t] = 0;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int c = queue[i];
        for (int step : room.steps) {
            // A crate one step back is pushed here by a keeper standing behind it.
            const int from = c - step;
            if (!room.open[from] || !room.open[from - step] || distance[from] >= 0) continue;
            distance[from] = distance[c] + 1;
            queue.push_back(from);
        }
    }
    return distance;
}

// Breadth first from the solved positions, pulling crates: a position first found in a whole
// layer d is exactly d pushes from solved. A position is the sorted crate squares followed by the
// smallest square of the keeper's region, kept side by side in one array.
class PullSearch {
  public:
    PullSearch(const Room& room, const std::vector<int>& targets, std::size_t limit)
        : room_(room),
          distance_(pushDistances(room, targets)),
          stride_(targets.size() + 1),
          crate_(room.cells.size(), false),
          stamp_(room.cells.size(), 0) {
        std::vector<std::uint16_t> solved(targets.begin(), targets.end());
        std::sort(solved.begin(), solved.end());
        for (std::uint16_t c : solved)
            crate_[c] = true;
        solved.push_back(0);  // the keeper's square, one per region of the free floor
        for (int c = 0; c < static_cast<int>(room.cells.size()); ++c) {
            if (!room.open[c] || crate_[c]) continue;
            solved.back() = static_cast<std::uint16_t>(flood(c));
            add(solved);
        }
        for (int c : targets)
            crate_[c] = false;
        if (count() == 0) throw LevelTextError("no floor beside the targets for the keeper");
        layers_.push_back(0);
        run(limit);
    }

    std::size_t count() const { return positions_.size() / stride_; }
    int deepest() const { return static_cast<int>(layers_.size()) - 1; }
    // Every position the pulls reach was found.
    bool complete() const { return complete_; }
    std::size_t layerBegin(int d) const { return layers_[d]; }
    std::size_t layerEnd(int d) const {
        return d + 1 < static_cast<int>(layers_.size()) ? layers_[d + 1] : count();
    }
    std::span<const std::uint16_t> position(std::size_t index) const {
        return {positions_.data() + index * stride_, stride_};
    }
    // The pushes the position needs at least.
    int distanceOf(std::size_t index) const {
        const auto at = position(index);
        int pushes = 0;
        for (auto c = at.begin(); c + 1 != at.end(); ++c)
            pushes += distance_[*c];
        return pushes;
    }
    // The indices, farthest from solved first; of equals the one found first.
    void sortFarthestFirst(std::span<std::size_t> indices) const {
        std::vector<std::pair<int, std::size_t>> keyed;
        for (std::size_t i : indices)
            keyed.emplace_back(-distanceOf(i), i);
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t k = 0; k < keyed.size(); ++k)
            indices[k] = keyed[k].second;
    }

  private:
    // Every position of a layer is pulled while the first half of the limit lasts; then only a
    // beam of the layer's positions farthest from solved, which reaches much farther in a large
    // room. Beyond the whole layers a layer number is no longer exact, only a bound. Many crates
    // close together can make one whole layer overrun the limit: it is cut short there, and the
    // beam goes on from it with half the limit again.
    void run(std::size_t limit) {
        // Wide enough to keep far starts of many kinds, narrow enough for many layers.
        const std::size_t beamWidth = limit / 750;
        std::size_t last = limit;
        bool beaming = false;
        while (true) {
            const std::size_t begin = layers_.back();
            const std::size_t end = count();
            std::vector<std::size_t> pulled(end - begin);
            std::iota(pulled.begin(), pulled.end(), begin);
            if (!beaming && count() >= limit) {
                beaming = true;
                last = count() + limit / 2;
            }
            if (count() >= limit / 2 && pulled.size() > beamWidth) {
                beaming = true;
                sortFarthestFirst(pulled);
                pulled.resize(beamWidth);
            }
            if (count() >= last) return;
            for (std::size_t i = 0; i < pulled.size() && count() < last; ++i)
                expand(pulled[i]);
            if (count() == end) {
                complete_ = true;  // nothing farther
                return;
            }
            layers_.push_back(end);
        }
    }

    // Marks the keeper's region and returns its smallest square.
    int flood(int from) {
        ++generation_;
        region_.assign(1, from);
        stamp_[from] = generation_;
        int smallest = from;
        for (std::size_t i = 0; i < region_.size(); ++i) {
            for (int step : room_.steps) {
                const int n = region_[i] + step;
                if (!room_.open[n] || crate_[n] || stamp_[n] == generation_) continue;
                stamp_[n] = generation_;
                smallest = std::min(smallest, n);
                region_.push_back(n);
            }
        }
        return smallest;
    }

    void expand(std::size_t index) {
        const auto at = position(index);
        std::vector<std::uint16_t> crates(at.begin(), at.end() - 1);
        for (std::uint16_t c : crates)
            crate_[c] = true;
        flood(at.back());
        const std::vector<int> keeperSquares = region_;
        std::vector<std::uint16_t> pulled(stride_);
        for (int keeper : keeperSquares) {
            for (int step : room_.steps) {
                const int crate = keeper + step;
                const int back = keeper - step;
                if (!crate_[crate] || !room_.open[back] || crate_[back]) continue;
                crate_[crate] = false;
                crate_[keeper] = true;
                std::copy(crates.begin(), crates.end(), pulled.begin());
                *std::find(pulled.begin(), pulled.end() - 1, crate) =
                    static_cast<std::uint16_t>(keeper);
                std::sort(pulled.begin(), pulled.end() - 1);
                pulled.back() = static_cast<std::uint16_t>(flood(back));
                crate_[keeper] = false;
                crate_[crate] = true;
                add(pulled);
            }
        }
        for (std::uint16_t c : crates)
            crate_[c] = false;
    }

    std::size_t slotOf(const std::uint16_t* position) const {
        std::uint64_t hash = 0x9E3779B97F4A7C15ull;
        for (std::size_t i = 0; i < stride_; ++i) {
            hash = (hash ^ position[i]) * 0xBF58476D1CE4E5B9ull;
            hash ^= hash >> 29;
        }
        return static_cast<std::size_t>(hash) & (table_.size() - 1);
    }

    void add(std::span<const std::uint16_t> position) {
        if (count() * 2 >= table_.size()) grow();
        std::size_t slot = slotOf(position.data());
        while (table_[slot] != 0) {
            const auto other = this->position(table_[slot] - 1);
            if (std::equal(other.begin(), other.end(), position.begin())) return;
            slot = (slot + 1) & (table_.size() - 1);
        }
        positions_.insert(positions_.end(), position.begin(), position.end());
        table_[slot] = static_cast<std::uint32_t>(count());
    }

    void grow() {
        table_.assign(table_.empty() ? 1 << 12 : table_.size() * 2, 0);
        for (std::size_t i = 0; i < count(); ++i) {
            std::size_t slot = slotOf(positions_.data() + i * stride_);
            while (table_[slot] != 0)
                slot = (slot + 1) & (table_.size() - 1);
            table_[slot] = static_cast<std::uint32_t>(i + 1);
        }
    }

    const Room& room_;
    std::vector<int> distance_;
    std::size_t stride_;
    std::vector<std::uint16_t> positions_;
    std::vector<std::uint32_t> table_;  // position index + 1, 0 for an empty slot
    std::vector<std::size_t> layers_;   // where each layer begins
    std::vector<bool> crate_;
    std::vector<std::uint32_t> stamp_;
    std::uint32_t generation_ = 0;
    std::vector<int> region_;
    bool complete_ = false;
};

TextLevel levelAt(const Room& room, const std::vector<int>& targets,
                  std::span<const std::uint16_t> position) {
    const auto crates = position.first(position.size() - 1);
    TextLevel level;
    for (int y = 1; y < room.height - 1; ++y) {
        std::string row;
        for (int x = 1; x < room.width - 1; ++x) {
            const int c = y * room.width + x;
            const bool target = std::find(targets.begin(), targets.end(), c) != targets.end();
            const bool crate = std::find(crates.begin(), crates.end(), c) != crates.end();
            Square square;
            if (!room.open[c]) {
                square.cell = room.cells[c] == '#' ? CellWall : CellEmpty;
            } else {
                square.cell = crate ? (target ? CellCrateOnTarget : CellCrate)
                                    : (target ? CellTarget : CellEmpty);
                square.keeper = position.back() == c;
            }
            row += symbolOf(square);
        }
        row.erase(row.find_last_not_of(' ') + 1);
        level.rows.push_back(row);
    }
    return level;
}

// The solver searches forwards and backwards side by side and takes the first answer, so a
// start demands what the quicker of the two searches needs, which is what this returns. Both
// are bounded alike by positions, not time, so that a room gives the same level on any
// machine; the bound grows fourfold up to `most` until one answers, so that a start one search
// answers at once costs little however long the other would take.
SolverResult quickerSearch(const Level& board, std::size_t most) {
    for (std::size_t bound = std::min<std::size_t>(most, 4096);;
         bound = std::min(most, bound * 4)) {
        const SolveLimits limits{.seconds = std::numeric_limits<double>::infinity(),
                                 .positions = bound};
        SolverResult forwards = solveLevelOneWay(board.board, board.keeperX, board.keeperY,
                                                 SearchWay::Forwards, limits);
        if (forwards.exhausted) return {};
        // Past what the search forwards needed, the search backwards would answer second.
        SolveLimits backwardsLimits = limits;
        if (forwards.moves) backwardsLimits.positions = forwards.statesSeen;
        SolverResult backwards = solveLevelOneWay(board.board, board.keeperX, board.keeperY,
                                                  SearchWay::Backwards, backwardsLimits);
        const bool backwardsFirst =
            backwards.moves && (!forwards.moves || backwards.statesSeen < forwards.statesSeen);
        if (backwardsFirst) return backwards;
        if (forwards.moves || backwards.exhausted || bound == most) return forwards;
    }
}

// The level of a start, proved by the solver. A crate that its solution leaves standing on its
// target is a wall in disguise: it goes, with its target.
std::optional<GeneratedLevel> proved(const Room& room, std::vector<int> targets,
                                     std::vector<std::uint16_t> position,
                                     const GeneratorLimits& limits) {
    TextLevel level = levelAt(room, targets, position);
    const Level board = packLevelOf(level).level.value();
    const SolverResult result = quickerSearch(board, limits.proofPositions);
    if (!result.moves) return std::nullopt;
    const SolutionMeasure measure =
        measureSolution(board.board, board.keeperX, board.keeperY, *result.moves);
    if (!measure.idleCrateOnTarget) {
        // Kept with the level, so that checking it needs a replay instead of a long search.
        level.solution = notationOf(*result.moves);
        return GeneratedLevel{level, measure, result.statesSeen};
    }
    for (std::size_t k = 0; k + 1 < position.size();) {
        auto target = std::find(targets.begin(), targets.end(), position[k]);
        if (target == targets.end()) {
            ++k;
            continue;
        }
        // Without the crate the solution still solves the level only if it never pushed it.
        std::vector<int> fewerTargets = targets;
        fewerTargets.erase(fewerTargets.begin() + (target - targets.begin()));
        std::vector<std::uint16_t> fewerCrates = position;
        fewerCrates.erase(fewerCrates.begin() + static_cast<std::ptrdiff_t>(k));
        const Level without = packLevelOf(levelAt(room, fewerTargets, fewerCrates)).level.value();
        if (replaySolves(without.board, without.keeperX, without.keeperY, *result.moves)) {
            targets = std::move(fewerTargets);
            position = std::move(fewerCrates);
        } else {
            ++k;
        }
    }
    return proved(room, std::move(targets), std::move(position), limits);
}

// Of the levels whose difficulty is within `slackPercent` of the most difficult, the one the
// solver searched longest; of equals the first. Levels that need `demanding` positions come
// before all others; when none does, the most demanding one is kept.
std::optional<GeneratedLevel> hardest(std::vector<GeneratedLevel> levels, int slackPercent,
                                      std::size_t demanding) {
    std::size_t mostPositions = 0;
    for (const GeneratedLevel& level : levels)
        mostPositions = std::max(mostPositions, level.positions);
    const std::size_t enough = std::min(demanding, mostPositions);
    std::erase_if(levels, [&](const auto& level) { return level.positions < enough; });
    int most = 0;
    for (const GeneratedLevel& level : levels)
        most = std::max(most, difficultyOf(level.measure));
    std::optional<GeneratedLevel> best;
    for (GeneratedLevel& level : levels) {
        if (difficultyOf(level.measure) * 100 < most * (100 - slackPercent)) continue;
        const bool harder = !best || level.positions > best->positions ||
                            (level.positions == best->positions &&
                             difficultyOf(level.measure) > difficultyOf(best->measure));
        if (harder) best = std::move(level);
    }
    return best;
}

}  // namespace

GeneratedLevel generateLevel(const TextLevel& drawn, int roomNumber,
                             const GeneratorLimits& limits) {
    const Room room = roomOf(drawn, roomNumber);
    std::mt19937 random(GeneratorSeed * 7919u + static_cast<std::uint32_t>(roomNumber));

    // With more target squares than crates, the set whose farthest positions lie deepest.
    const bool choose = room.crates < static_cast<int>(room.targetSquares.size());
    std::optional<PullSearch> search;
    std::vector<int> targets;
    for (int attempt = 0; attempt < (choose ? limits.targetTries : 1); ++attempt) {
        std::vector<int> tried = sample(room.targetSquares, room.crates, random);
        try {
            PullSearch next(room, tried, limits.pullPositions);
            if (!search || next.deepest() > search->deepest()) {
                search.emplace(std::move(next));
                targets = std::move(tried);
            }
            // A room too large to search in full gives far starts with any targets, and each
            // further set would cost as much again.
            if (!search->complete()) break;
        } catch (const LevelTextError& failure) {
            if (!choose) refuseRoom(roomNumber, failure.what());
        }
    }
    if (!search) refuseRoom(roomNumber, "no floor beside the targets for the keeper");

    if (search->deepest() == 0) refuseRoom(roomNumber, "no crate can be pulled off its target");
    // The starts with the fewest crates left on targets, from the farthest layer that has such
    // starts down; the first layer that gives a proved start gives the level.
    auto onTargets = [&](std::size_t i) {
        const auto position = search->position(i);
        return static_cast<int>(std::count_if(position.begin(), position.end() - 1, [&](int c) {
            return std::find(targets.begin(), targets.end(), c) != targets.end();
        }));
    };
    int fewest = room.crates;
    for (std::size_t i = search->layerBegin(1); i < search->count(); ++i)
        fewest = std::min(fewest, onTargets(i));
    // Groups of starts are proved in turn, farthest first, until one gives a level that needs
    // the positions the room asks for; a room that asks for none takes the first proved.
    // Looking for a demanding start goes on for a few groups at most: the hardest found is kept.
    constexpr int DemandingGroups = 4;
    std::vector<GeneratedLevel> found;
    int groupsProved = 0;
    int demandingFound = 0;
    auto proveGroup = [&](const std::vector<std::size_t>& starts) {
        ++groupsProved;
        for (std::size_t i : starts) {
            // Each demanding start costs long proofs: a few to choose from are enough.
            if (room.demandingPositions > 0 && demandingFound >= limits.candidates) break;
            const auto start = search->position(i);
            if (auto level = proved(room, targets, {start.begin(), start.end()}, limits)) {
                demandingFound += level->positions >= room.demandingPositions;
                found.push_back(std::move(*level));
            }
        }
        // A room that asks for no positions is content with any start proved.
        return demandingFound > 0 || (!found.empty() && groupsProved >= DemandingGroups);
    };
    auto levelOf = [&](int slackPercent) {
        GeneratedLevel best = *hardest(std::move(found), slackPercent, room.demandingPositions);
        best.level.author = drawn.author;
        return best;
    };
    if (search->complete()) {
        // Layers are exact: a few starts of the farthest layer.
        for (int d = search->deepest(); d > 0; --d) {
            std::vector<std::size_t> layer;
            for (std::size_t i = search->layerBegin(d); i < search->layerEnd(d); ++i) {
                if (onTargets(i) == fewest) layer.push_back(i);
            }
            if (proveGroup(sample(layer, limits.candidates, random))) return levelOf(0);
        }
    } else {
        // Layers only bound the pushes: among the starts farthest from solved by the pushes they
        // need at least, which lie close together, a wider sample, as how tangled a start is
        // shows only in its proof.
        std::vector<std::size_t> starts;
        for (std::size_t i = search->layerBegin(1); i < search->count(); ++i) {
            if (onTargets(i) == fewest) starts.push_back(i);
        }
        search->sortFarthestFirst(starts);
        const int spread = room.demandingPositions > 0 ? limits.demandingSpread : 1;
        const std::size_t group = 16 * static_cast<std::size_t>(limits.candidates * spread);
        // Each further group reaches four times as far down the list: the nearly farthest
        // starts are many more, and more varied.
        for (std::size_t begin = 0, end = group; begin < starts.size() && end <= group << 6;
             begin = end, end *= 4) {
            const std::vector<std::size_t> farthest(
                starts.begin() + static_cast<std::ptrdiff_t>(begin),
                starts.begin() + static_cast<std::ptrdiff_t>(std::min(starts.size(), end)));
            // Starts this close together are about as tangled: of those within a tenth of the
            // most tangled, the one the solver needs longest for.
            if (proveGroup(sample(farthest, group / 8, random))) return levelOf(10);
        }
    }
    if (!found.empty()) return levelOf(search->complete() ? 0 : 10);
    refuseRoom(roomNumber, "no start that the solver could prove");
}

std::vector<GeneratedLevel> generatePack(const LevelCollection& rooms,
                                         const GeneratorLimits& limits) {
    std::vector<std::optional<GeneratedLevel>> levels(rooms.levels.size());
    std::vector<std::string> failures(rooms.levels.size());
    std::atomic<std::size_t> next = 0;
    auto work = [&] {
        for (std::size_t k = next++; k < rooms.levels.size(); k = next++) {
            try {
                levels[k] = generateLevel(rooms.levels[k], static_cast<int>(k) + 1, limits);
            } catch (const std::exception& failure) {
                failures[k] = failure.what();
            }
        }
    };
    std::vector<std::thread> workers(std::max(1u, std::thread::hardware_concurrency()));
    for (auto& worker : workers)
        worker = std::thread(work);
    for (auto& worker : workers)
        worker.join();
    // Every room that gives no level is named at once.
    std::string failed;
    for (const std::string& failure : failures) {
        if (!failure.empty()) failed += (failed.empty() ? "" : "; ") + failure;
    }
    if (!failed.empty()) throw LevelTextError(failed);
    std::vector<GeneratedLevel> pack;
    for (auto& level : levels)
        pack.push_back(std::move(*level));
    std::stable_sort(pack.begin(), pack.end(), [](const auto& a, const auto& b) {
        return difficultyOf(a.measure) < difficultyOf(b.measure);
    });
    return pack;
}

}  // namespace quarbel
