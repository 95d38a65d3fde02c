#include "tools/room.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "core/level.h"

namespace quarbel {

void refuseRoom(int roomNumber, const std::string& reason) {
    throw LevelTextError("room " + std::to_string(roomNumber) + ": " + reason);
}

namespace {

// The value of a "Key: N" line of the room, a whole number from 1 to `most`; `absent` without
// one.
std::size_t countOf(const TextLevel& level, const std::string& key, std::size_t most,
                    std::size_t absent, int roomNumber) {
    for (const TextProperty& property : level.properties) {
        if (property.key != key) continue;
        std::size_t count = 0;
        const auto [end, error] = std::from_chars(
            property.value.data(), property.value.data() + property.value.size(), count);
        if (error != std::errc{} || end != property.value.data() + property.value.size() ||
            count < 1 || count > most) {
            refuseRoom(roomNumber, "\"" + key + ": " + property.value +
                                       "\" is no count from 1 to " + std::to_string(most));
        }
        return count;
    }
    return absent;
}

}  // namespace

Room roomOf(const TextLevel& level, int roomNumber) {
    std::size_t widest = 0;
    for (const auto& row : level.rows)
        widest = std::max(widest, row.size());
    if (level.rows.size() > BoardSide || widest > BoardSide) {
        refuseRoom(roomNumber, "larger than 15 x 15");
    }
    Room room;
    room.width = static_cast<int>(widest) + 2;
    room.height = static_cast<int>(level.rows.size()) + 2;
    room.steps = {-room.width, room.width, 1, -1};
    room.cells.assign(static_cast<std::size_t>(room.width * room.height), ' ');
    for (int y = 0; y < room.height - 2; ++y) {
        for (int x = 0; x < static_cast<int>(level.rows[y].size()); ++x) {
            room.cells[(y + 1) * room.width + x + 1] = level.rows[y][x];
        }
    }
    // Whatever the outside reaches without crossing a wall is not part of the room.
    std::vector<bool> outside(room.cells.size(), false);
    std::vector<int> queue{0};
    outside[0] = true;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int c = queue[i];
        const int x = c % room.width;
        for (int step : room.steps) {
            const int n = c + step;
            if (n < 0 || n >= static_cast<int>(room.cells.size()) || outside[n] ||
                room.cells[n] == '#' || (step == 1 && x == room.width - 1) ||
                (step == -1 && x == 0)) {
                continue;
            }
            outside[n] = true;
            queue.push_back(n);
        }
    }
    room.open.assign(room.cells.size(), false);
    for (std::size_t c = 0; c < room.cells.size(); ++c) {
        room.open[c] = !outside[c] && room.cells[c] != '#';
        const std::optional<Square> square = squareOfSymbol(room.cells[c]);
        if (room.open[c] && square &&
            (square->cell == CellTarget || square->cell == CellCrateOnTarget)) {
            room.targetSquares.push_back(static_cast<int>(c));
        }
    }
    if (room.targetSquares.empty()) refuseRoom(roomNumber, "no target square inside the walls");
    const std::size_t targetSquares = room.targetSquares.size();
    room.crates =
        static_cast<int>(countOf(level, "Crates", targetSquares, targetSquares, roomNumber));
    room.demandingPositions = countOf(level, "Positions", MostDemandingPositions, 0, roomNumber);
    return room;
}

}  // namespace quarbel
