// quarbel-levelgen: turns drawn rooms into levels. Each room of the input collection gives
// walls, floor and targets; the tool pulls the crates backwards from the targets, breadth
// first, and places them where the most pushes are needed to solve the level.
//
// usage: quarbel-levelgen ROOMS.txt > LEVELS.txt
#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "leveltext.h"

namespace {

using quarbel::LevelCollection;
using quarbel::TextLevel;

constexpr std::size_t StateLimit = 6'000'000;

struct Room {
    int width = 0;
    int height = 0;
    std::vector<char> cells;
    std::vector<bool> open;  // floor the keeper and crates can use
    std::vector<int> targets;
};

// Everything not walled in counts as wall, so the search stays inside the room.
Room roomOf(const TextLevel& level, int roomNumber) {
    const auto widest = std::max_element(
        level.rows.begin(), level.rows.end(),
        [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    if (level.rows.size() > quarbel::BoardSide || widest->size() > quarbel::BoardSide) {
        throw quarbel::LevelTextError("room " + std::to_string(roomNumber) +
                                      ": larger than 15 x 15");
    }
    Room room;
    room.height = static_cast<int>(level.rows.size()) + 2;
    for (const auto& row : level.rows)
        room.width = std::max<int>(room.width, row.size() + 2);
    std::vector<char>& cells = room.cells;
    cells.assign(room.width * room.height, ' ');
    for (int y = 0; y < room.height - 2; ++y) {
        for (int x = 0; x < static_cast<int>(level.rows[y].size()); ++x) {
            cells[(y + 1) * room.width + x + 1] = level.rows[y][x];
        }
    }
    std::vector<bool> outside(cells.size(), false);
    std::vector<int> queue{0};
    outside[0] = true;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int c = queue[i];
        for (int step : {-room.width, room.width, 1, -1}) {
            const int n = c + step;
            if (n < 0 || n >= static_cast<int>(cells.size()) || outside[n] || cells[n] == '#') {
                continue;
            }
            if (std::abs(step) == 1 && n / room.width != c / room.width) continue;
            outside[n] = true;
            queue.push_back(n);
        }
    }
    room.open.assign(cells.size(), false);
    for (std::size_t c = 0; c < cells.size(); ++c) {
        room.open[c] = !outside[c] && cells[c] != '#';
        if (room.open[c] && (cells[c] == '.' || cells[c] == '*' || cells[c] == '+')) {
            room.targets.push_back(static_cast<int>(c));
        }
    }
    return room;
}

// A position: the sorted crate squares followed by the smallest square of the keeper's region.
using Position = std::u16string;

class Puller {
  public:
    explicit Puller(const Room& room) : room_(room), steps_{-room.width, room.width, 1, -1} {}

    Position normalised(Position crates, int keeper) const {
        std::sort(crates.begin(), crates.end());
        const auto region = regionOf(crates, keeper);
        crates.push_back(static_cast<char16_t>(*std::min_element(region.begin(), region.end())));
        return crates;
    }

    std::vector<int> regionOf(const Position& crates, int keeper) const {
        std::vector<int> region{keeper};
        std::vector<bool> seen(room_.open.size(), false);
        seen[keeper] = true;
        for (std::size_t i = 0; i < region.size(); ++i) {
            for (int step : steps_) {
                const int n = region[i] + step;
                if (!room_.open[n] || seen[n] || crates.find(n) != Position::npos) continue;
                seen[n] = true;
                region.push_back(n);
            }
        }
        return region;
    }

    // Every position one pull away.
    std::vector<Position> pulls(const Position& position) const {
        const Position crates = position.substr(0, position.size() - 1);
        std::vector<Position> next;
        for (int keeper : regionOf(crates, position.back())) {
            for (int step : steps_) {
                const int crate = keeper + step;
                const int back = keeper - step;
                if (crates.find(crate) == Position::npos || !room_.open[back] ||
                    crates.find(back) != Position::npos) {
                    continue;
                }
                Position moved = crates;
                moved[moved.find(crate)] = static_cast<char16_t>(keeper);
                next.push_back(normalised(moved, back));
            }
        }
        return next;
    }

  private:
    const Room& room_;
    std::array<int, 4> steps_;
};

TextLevel farthestLevel(const Room& room, int& pushes) {
    const Puller puller(room);
    Position solved;
    for (int t : room.targets)
        solved.push_back(static_cast<char16_t>(t));
    std::unordered_set<Position> seen;
    std::vector<Position> layer;
    for (std::size_t c = 0; c < room.open.size(); ++c) {
        if (!room.open[c] || solved.find(c) != Position::npos) continue;
        const Position start = puller.normalised(solved, static_cast<int>(c));
        if (seen.insert(start).second) layer.push_back(start);
    }
    if (layer.empty()) throw quarbel::LevelTextError("a room has no free floor for the keeper");
    std::vector<Position> last = layer;
    pushes = 0;
    while (!layer.empty() && seen.size() < StateLimit) {
        std::vector<Position> next;
        for (const Position& position : layer) {
            for (Position& pulled : puller.pulls(position)) {
                if (seen.insert(pulled).second) next.push_back(std::move(pulled));
            }
        }
        if (next.empty()) break;
        last = next;
        layer = std::move(next);
        ++pushes;
    }
    // Among the farthest positions, the one whose crates stand on the fewest targets.
    const Position& best = *std::min_element(last.begin(), last.end(), [&](auto& a, auto& b) {
        auto onTargets = [&](const Position& p) {
            return std::count_if(p.begin(), p.end() - 1,
                                 [&](char16_t c) { return solved.find(c) != Position::npos; });
        };
        return onTargets(a) < onTargets(b);
    });

    TextLevel level;
    for (int y = 1; y < room.height - 1; ++y) {
        std::string row;
        for (int x = 1; x < room.width - 1; ++x) {
            const int c = y * room.width + x;
            const bool target = solved.find(c) != Position::npos;
            if (!room.open[c]) {
                row += room.cells[c] == '#' ? '#' : ' ';
            } else if (best.find(c) < best.size() - 1) {
                row += target ? '*' : '$';
            } else if (best.back() == c) {
                row += target ? '+' : '@';
            } else {
                row += target ? '.' : ' ';
            }
        }
        row.erase(row.find_last_not_of(' ') + 1);
        level.rows.push_back(row);
    }
    return level;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quarbel-levelgen ROOMS.txt > LEVELS.txt\n";
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        std::cerr << "quarbel-levelgen: cannot read " << argv[1] << "\n";
        return 1;
    }
    try {
        LevelCollection rooms = quarbel::readLevelText(text.str()).collection;
        for (std::size_t k = 0; k < rooms.levels.size(); ++k) {
            int pushes = 0;
            const std::string author = rooms.levels[k].author;
            rooms.levels[k] =
                farthestLevel(roomOf(rooms.levels[k], static_cast<int>(k) + 1), pushes);
            rooms.levels[k].author = author;
            std::cerr << "room " << k + 1 << ": " << pushes << " pushes\n";
        }
        std::cout << quarbel::formatLevelText(rooms);
    } catch (const std::exception& failure) {
        std::cerr << "quarbel-levelgen: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
