// What a search keeps: the positions found so far, the open ones in the order of their
// promise, and its budget of time and memory.
#pragma once

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <queue>
#include <vector>

#include "tools/solver.h"
#include "tools/solvermaze.h"

namespace quarbel::solving {

// Processor time used by the calling thread, in seconds.
inline double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Every position found so far, stored compactly: one bit per live square for the crates, the
// smallest square of the keeper's region, and the move that led there from its parent. A
// position a search starts from is its own parent.
class PositionStore {
  public:
    explicit PositionStore(const Maze& maze) : maze_(maze), words_(maze.words()) {}

    std::size_t size() const { return links_.size(); }

    // Keeps the position unless it was seen before; true when it is new. The new position's
    // node is size() - 1.
    bool add(const CrateSet& crates, int keeper, std::uint32_t parent, Push push) {
        if (links_.size() * 2 >= table_.size()) growTable();
        const std::size_t first = packed_.size();
        pack(crates);
        const auto keeperSquare = static_cast<std::uint16_t>(keeper);
        std::size_t slot = slotOf(&packed_[first], keeperSquare);
        while (table_[slot] != 0) {
            const std::uint32_t other = table_[slot] - 1;
            if (links_[other].keeper == keeperSquare &&
                std::equal(packed_.begin() + first, packed_.end(), keyOf(other))) {
                packed_.resize(first);
                return false;
            }
            slot = (slot + 1) & (table_.size() - 1);
        }
        links_.push_back({parent, keeperSquare, static_cast<std::uint16_t>(push.from),
                          static_cast<std::uint8_t>(push.direction)});
        table_[slot] = static_cast<std::uint32_t>(links_.size());
        return true;
    }

    CrateSet crates(std::uint32_t node) const {
        CrateSet crates;
        const auto* key = keyOf(node);
        for (int w = 0; w < words_; ++w) {
            for (std::uint64_t rest = key[w]; rest != 0; rest &= rest - 1)
                crates.set(maze_.liveCells[w * 64 + __builtin_ctzll(rest)]);
        }
        return crates;
    }
    int keeper(std::uint32_t node) const { return links_[node].keeper; }

    // The moves from the start to the node.
    std::vector<Push> pathTo(std::uint32_t node) const {
        std::vector<Push> pushes;
        for (; links_[node].parent != node; node = links_[node].parent)
            pushes.push_back({links_[node].pushFrom, links_[node].direction});
        std::reverse(pushes.begin(), pushes.end());
        return pushes;
    }

    // Bytes held, and those that the next growth of any part would add.
    std::size_t bytesAfterGrowth(std::size_t room) const {
        auto grown = [room](const auto& v) {
            const std::size_t bytes = v.capacity() * sizeof(v[0]);
            return v.size() + room > v.capacity() ? 3 * bytes : bytes;
        };
        return grown(packed_) + grown(links_) + 3 * table_.size() * sizeof(table_[0]);
    }

  private:
    struct Link {
        std::uint32_t parent;
        std::uint16_t keeper;
        std::uint16_t pushFrom;
        std::uint8_t direction;
    };

    const std::uint64_t* keyOf(std::uint32_t node) const {
        return &packed_[static_cast<std::size_t>(node) * words_];
    }

    void pack(const CrateSet& crates) {
        const std::size_t first = packed_.size();
        packed_.resize(first + words_, 0);
        crates.forEach([&](int c) {
            const int bit = maze_.live[c];
            packed_[first + bit / 64] |= std::uint64_t{1} << (bit % 64);
        });
    }

    std::size_t slotOf(const std::uint64_t* key, std::uint16_t keeper) const {
        std::uint64_t hash = keeper * 0x9E3779B97F4A7C15ull;
        for (int w = 0; w < words_; ++w) {
            hash = (hash ^ key[w]) * 0xBF58476D1CE4E5B9ull;
            hash ^= hash >> 31;
        }
        return static_cast<std::size_t>(hash) & (table_.size() - 1);
    }

    void growTable() {
        table_.assign(table_.empty() ? 1 << 16 : table_.size() * 2, 0);
        for (std::size_t i = 0; i < links_.size(); ++i) {
            std::size_t slot = slotOf(keyOf(static_cast<std::uint32_t>(i)), links_[i].keeper);
            while (table_[slot] != 0)
                slot = (slot + 1) & (table_.size() - 1);
            table_[slot] = static_cast<std::uint32_t>(i + 1);
        }
    }

    const Maze& maze_;
    const int words_;
    std::vector<std::uint64_t> packed_;
    std::vector<Link> links_;
    std::vector<std::uint32_t> table_;  // node index + 1, 0 for an empty slot
};

// The estimate weighed twice, forwards and backwards.
constexpr int EstimateWeight = 2;

// Open positions by moves so far plus the weighed estimate, fewer estimated moves first among
// equals. Weighing the estimate gives up shortest solutions for finding one in far fewer
// positions.
class OpenPositions {
  public:
    explicit OpenPositions(int weight) : weight_(weight) {}

    bool empty() const { return open_.empty(); }
    // Bytes held, counting that a growing array briefly holds its old and new storage.
    std::size_t bytes() const {
        return (open_.size() + movesTo_.capacity()) * 3 *
               (sizeof(std::uint64_t) + sizeof(movesTo_[0]));
    }
    int movesTo(std::uint32_t node) const { return movesTo_[node]; }

    // A node new to the store, `moves` from the start.
    void add(std::uint32_t node, int moves, int estimate) {
        if (movesTo_.size() <= node) movesTo_.resize(node + 1);
        movesTo_[node] = static_cast<std::uint16_t>(moves);
        // The order in the high bits and the node in the low 32.
        const auto order = static_cast<std::uint64_t>(moves + weight_ * estimate) << 16 |
                           static_cast<std::uint64_t>(std::min(estimate, 0xFFFF));
        open_.push(order << 32 | node);
    }
    std::uint32_t take() {
        const auto node = static_cast<std::uint32_t>(open_.top());
        open_.pop();
        return node;
    }

  private:
    const int weight_;
    std::priority_queue<std::uint64_t, std::vector<std::uint64_t>, std::greater<>> open_;
    std::vector<std::uint16_t> movesTo_;  // per node
};

// A search's limits of processor time, memory and positions, and its watch, looked at once
// per a number of expanded positions.
class Budget {
  public:
    Budget(const SolveLimits& limits, const SearchWatch& watch)
        : limits_(limits), watch_(watch), started_(threadSeconds()) {}

    // False when the search should stop now.
    bool allows(const PositionStore& store, const OpenPositions& open) {
        // From the first expansion on, so that a search started after the other one's
        // answer stops at once.
        if (expanded_++ % CheckInterval != 0) return true;
        // Positions that one check interval may add at most, so that the memory check looks
        // ahead.
        constexpr std::size_t IntervalRoom = CheckInterval * 4 * 40;
        const bool within =
            store.size() < limits_.positions && threadSeconds() - started_ < limits_.seconds &&
            store.bytesAfterGrowth(IntervalRoom) + open.bytes() <= limits_.memoryBytes;
        return within && (!watch_ || watch_(store.size()));
    }

  private:
    static constexpr std::uint32_t CheckInterval = 1024;

    const SolveLimits& limits_;
    const SearchWatch& watch_;
    const double started_;
    std::uint32_t expanded_ = 0;
};

}  // namespace quarbel::solving
