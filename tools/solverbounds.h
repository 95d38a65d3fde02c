// Lower bounds on the pushes a position still needs.
#pragma once

#include <climits>
#include <vector>

#include "tools/solvermaze.h"

namespace quarbel::solving {

// The smallest total of push distances that brings every crate to a target of its own, by the
// Hungarian method; Unmatched when some crate cannot be given a target it can reach.
//
// match() solves a crate list from scratch and keeps the matching; withMoved() answers for the
// same list with one crate pushed by taking that crate's target away and finding it a new one,
// which costs one augmenting path instead of the whole method. The pushed crate's distances
// count from the side its keeper stands on; the others', not knowing, from their best side.
class Matcher {
  public:
    static constexpr int Unmatched = INT_MAX;

    explicit Matcher(const Maze& maze) : maze_(maze) {}

    int match(const std::vector<int>& crates) {
        n_ = static_cast<int>(crates.size());
        cost_.assign(static_cast<std::size_t>(n_ * n_), Far);
        rowPotential_.assign(n_ + 1, 0);
        columnPotential_.assign(n_ + 1, 0);
        rowOf_.assign(n_ + 1, 0);
        way_.assign(n_ + 1, 0);
        slack_.assign(n_ + 1, 0);
        used_.assign(n_ + 1, false);
        for (int i = 1; i <= n_; ++i) {
            for (int j = 0; j < n_; ++j)
                setCost(i, j, maze_.distanceTo[j][crates[i - 1]]);
            augment(i);
        }
        return total();
    }

    // The bound with the crate of list index `crate` pushed onto `square`, the keeper beside it
    // on `keeperSide`; the matching kept by match() is left as it was.
    int withMoved(int crate, int square, int keeperSide) {
        const int row = crate + 1;
        const auto rowCosts = cost_.begin() + (row - 1) * n_;
        savedRow_.assign(rowCosts, rowCosts + n_);
        savedRowPotential_ = rowPotential_;
        savedColumnPotential_ = columnPotential_;
        savedRowOf_ = rowOf_;
        for (int j = 0; j < n_; ++j)
            setCost(row, j, maze_.sideDistanceTo[j][square * 4 + keeperSide]);
        for (int j = 1; j <= n_; ++j) {
            if (rowOf_[j] == row) rowOf_[j] = 0;
        }
        augment(row);
        const int bound = total();
        std::copy(savedRow_.begin(), savedRow_.end(), rowCosts);
        rowPotential_.swap(savedRowPotential_);
        columnPotential_.swap(savedColumnPotential_);
        rowOf_.swap(savedRowOf_);
        return bound;
    }

  private:
    // An unreachable pair costs more than any sum of real distances.
    static constexpr int Far = 1 << 20;

    void setCost(int row, int column, int distance) {
        cost_[(row - 1) * n_ + column] = distance == NoDistance ? Far : distance;
    }

    // Gives the row a column by the shortest augmenting path under the potentials; index 0
    // is a sentinel. The row's own potential is set by the first step, so a row whose costs
    // changed needs nothing else: the other rows' matched pairs stay tight.
    void augment(int row) {
        rowOf_[0] = row;
        int column = 0;
        std::fill(slack_.begin(), slack_.end(), INT_MAX);
        std::fill(used_.begin(), used_.end(), false);
        do {
            used_[column] = true;
            const int from = rowOf_[column];
            int delta = INT_MAX;
            int next = 0;
            for (int j = 1; j <= n_; ++j) {
                if (used_[j]) continue;
                const int reduced =
                    cost_[(from - 1) * n_ + j - 1] - rowPotential_[from] - columnPotential_[j];
                if (reduced < slack_[j]) {
                    slack_[j] = reduced;
                    way_[j] = column;
                }
                if (slack_[j] < delta) {
                    delta = slack_[j];
                    next = j;
                }
            }
            for (int j = 0; j <= n_; ++j) {
                if (used_[j]) {
                    rowPotential_[rowOf_[j]] += delta;
                    columnPotential_[j] -= delta;
                } else {
                    slack_[j] -= delta;
                }
            }
            column = next;
        } while (rowOf_[column] != 0);
        do {
            const int previous = way_[column];
            rowOf_[column] = rowOf_[previous];
            column = previous;
        } while (column != 0);
    }

    int total() const {
        int sum = 0;
        for (int j = 1; j <= n_; ++j) {
            const int pair = cost_[(rowOf_[j] - 1) * n_ + j - 1];
            if (pair >= Far) return Unmatched;
            sum += pair;
        }
        return sum;
    }

    const Maze& maze_;
    int n_ = 0;
    std::vector<int> cost_, rowPotential_, columnPotential_, rowOf_, way_, slack_;
    std::vector<bool> used_;
    // What withMoved() changes, put back after it.
    std::vector<int> savedRow_, savedRowPotential_, savedColumnPotential_, savedRowOf_;
};

}  // namespace quarbel::solving
