// The walks the finder chooses, which its order rules decide, and what it may never return.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <utility>
#include <vector>

#include "mouse/pathfinder.h"
#include "support/packbuilder.h"

namespace quarbel {
namespace {

using Square = std::pair<int, int>;
using Walk = std::vector<Square>;

// The squares of a found walk after the start, in walking order.
Walk walkTo(const PathNode& target) {
    Walk walk;
    for (const PathNode* node = &target; node->parent; node = node->parent) {
        walk.insert(walk.begin(), {node->x, node->y});
    }
    return walk;
}

// Squares the keeper can reach from a start, by breadth-first search; -1 for the others.
int squareIndex(int x, int y) {
    return (y - 1) * BoardSide + (x - 1);
}

std::vector<int> distancesFrom(const PathFinder& finder, Square start) {
    std::vector<int> distance(BoardCells, -1);
    std::deque<Square> queue{start};
    distance[squareIndex(start.first, start.second)] = 0;
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        for (const Square& next : {Square{x, y - 1}, {x + 1, y}, {x, y + 1}, {x - 1, y}}) {
            if (!finder.passable(next.first, next.second)) continue;
            int& d = distance[squareIndex(next.first, next.second)];
            if (d >= 0) continue;
            d = distance[squareIndex(x, y)] + 1;
            queue.push_back(next);
        }
    }
    return distance;
}

struct PathFinderTest : ::testing::Test {
    GameState s;
    PathFinder finder;

    void setBoard(const std::vector<std::string>& rows) {
        testing::placeLevel(s, rows);
        finder.buildPassGrid(s);
    }
    const PathNode* search(Square from, Square to) {
        return finder.findPath(from.first, from.second, to.first, to.second);
    }
    Walk walk(Square from, Square to) {
        const PathNode* target = search(from, to);
        EXPECT_NE(target, nullptr);
        return target ? walkTo(*target) : Walk{};
    }
};

// Free squares: columns 2 to 5 and rows 2 to 5, except walls at (3, 3) and (4, 4).
const std::vector<std::string> TwoPillarRoom = {
    "######", "#    #", "# #  #", "#  # #", "#    #", "######",
};

// Free squares: all of columns 2 to 14 and rows 2 to 14.
std::vector<std::string> openRoom() {
    std::vector<std::string> rows(15, "#             #");
    rows.front() = rows.back() = std::string(15, '#');
    return rows;
}

TEST_F(PathFinderTest, NewestOfEqualPromiseGoesFirstEvenIntoALongerWalk) {
    setBoard(TwoPillarRoom);
    // Up (2, 2) and down (2, 4) both reach f = 11; down, inserted last, is expanded first.
    EXPECT_EQ(walk({2, 3}, {5, 3}), (Walk{{2, 4}, {3, 4}, {3, 5}, {4, 5}, {5, 5}, {5, 4}, {5, 3}}));
    // The walk over row 2 would be two steps shorter.
    EXPECT_EQ(distancesFrom(finder, {2, 3})[squareIndex(5, 3)], 5);
}

TEST_F(PathFinderTest, OpenRoomWalksZigzag) {
    setBoard(openRoom());
    // Right (3, 2) and down (2, 3) tie on f = 6; down is examined later and goes first.
    EXPECT_EQ(walk({2, 2}, {4, 4}), (Walk{{2, 3}, {3, 3}, {3, 4}, {4, 4}}));
    EXPECT_EQ(walk({4, 4}, {2, 2}), (Walk{{3, 4}, {3, 3}, {2, 3}, {2, 2}}));
}

TEST_F(PathFinderTest, OpenRoomWalksStraightAlongARow) {
    setBoard(openRoom());
    EXPECT_EQ(walk({2, 2}, {5, 2}), (Walk{{3, 2}, {4, 2}, {5, 2}}));
}

// Two ways up to row 2: the right one is tried first, the left one is shorter.
const std::vector<std::string> TwoWayRoom = {
    "######", "#    #", "# ## #", "#  # #", "#   ##", "#@  ##", "######",
};

TEST_F(PathFinderTest, CheaperWayIntoAnExpandedSquareIsPassedOn) {
    setBoard(TwoWayRoom);
    // The search first climbs by (3, 6), (3, 5), (3, 4) and expands (2, 4) at cost 4 and
    // (2, 3) at 5. Only then is (2, 5) taken: it reaches (2, 4) at cost 2, and the lower
    // cost is passed on to (2, 3) and the waiting (2, 2), whose walk now starts upwards.
    const PathNode* target = search({2, 6}, {5, 3});
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(walkTo(*target),
              (Walk{{2, 5}, {2, 4}, {2, 3}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {5, 3}}));
    EXPECT_EQ(target->g, 8);
    EXPECT_EQ(target->f, 8);
}

TEST_F(PathFinderTest, AlreadyReachedNeighboursAreRecordedForLaterPasses) {
    setBoard({
        "######",
        "#   ##",
        "# #  #",
        "#  # #",
        "#  # #",
        "#   ##",
        "#@   #",
        "######",
    });
    // (2, 5) is expanded at cost 4 and records the expanded (2, 4) among its successors.
    // When (2, 6) then lowers (2, 5) to 2, that record carries the lower cost on to (2, 4)
    // and (2, 3), so the walk climbs column 2 instead of going round by column 3.
    EXPECT_EQ(
        walk({2, 7}, {5, 4}),
        (Walk{{2, 6}, {2, 5}, {2, 4}, {2, 3}, {2, 2}, {3, 2}, {4, 2}, {4, 3}, {5, 3}, {5, 4}}));
}

TEST_F(PathFinderTest, CheaperWayIntoAWaitingSquareTakesItOver) {
    setBoard(TwoWayRoom);
    // (2, 4) waits at cost 4, reached from (3, 4), when (2, 5) reaches it at cost 2.
    EXPECT_EQ(walk({2, 6}, {5, 4}),
              (Walk{{2, 5}, {2, 4}, {2, 3}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {5, 3}, {5, 4}}));
}

TEST_F(PathFinderTest, EqualCostThroughAnotherSquareChangesNothing) {
    setBoard({
        "#####",
        "#   #",
        "# # #",
        "#.# #",
        "##  #",
        "# @ #",
        "#####",
    });
    // (4, 5) is expanded at cost 2 by way of (3, 5); (4, 6) reaches it later at cost 2 too.
    EXPECT_EQ(walk({3, 6}, {2, 4}),
              (Walk{{3, 5}, {4, 5}, {4, 4}, {4, 3}, {4, 2}, {3, 2}, {2, 2}, {2, 3}, {2, 4}}));
}

TEST_F(PathFinderTest, TargetOnTheStartIsTheStartNodeItself) {
    setBoard(openRoom());
    const PathNode* target = search({7, 7}, {7, 7});
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->parent, nullptr);
    EXPECT_EQ(target->g, 0);
    EXPECT_EQ(firstStep(*target), Square(7, 7));
}

TEST_F(PathFinderTest, FirstStepIsTheSquareAfterTheStart) {
    setBoard(TwoPillarRoom);
    const PathNode* target = search({2, 3}, {5, 3});
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(firstStep(*target), Square(2, 4));
    const PathNode* next = search({2, 3}, {2, 4});
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(firstStep(*next), Square(2, 4));
}

TEST_F(PathFinderTest, WallsAndCratesAreNeverReached) {
    setBoard({
        "#######",
        "#@ $  #",
        "#  * ##",
        "#######",
    });
    EXPECT_EQ(search({2, 2}, {4, 2}), nullptr);  // crate next to reachable floor
    EXPECT_EQ(search({2, 2}, {4, 3}), nullptr);  // crate on a target
    EXPECT_EQ(search({2, 2}, {6, 3}), nullptr);  // wall
    EXPECT_EQ(search({2, 2}, {1, 1}), nullptr);  // outer wall
}

TEST_F(PathFinderTest, SquaresCutOffByCratesAreUnreachable) {
    setBoard({
        "#######",
        "#@ $  #",
        "#  $  #",
        "#######",
    });
    EXPECT_EQ(search({2, 2}, {6, 2}), nullptr);
    // From the far side: up (6, 2) and left (5, 3) tie, and left, examined last, goes first.
    EXPECT_EQ(walk({6, 3}, {5, 2}), (Walk{{5, 3}, {5, 2}}));
}

TEST_F(PathFinderTest, RegionOpenToTheEdgeStaysInsideTheGrid) {
    setBoard({"@    ", "     "});  // no walls at all: the rest of the grid is floor
    EXPECT_EQ(walk({1, 1}, {1, 15}).size(), 14u);
    EXPECT_EQ(walk({15, 15}, {15, 1}).size(), 14u);
}

TEST_F(PathFinderTest, GridHoldsPassableCodesRowByRow) {
    setBoard({
        "# $",
        " .*",
    });
    s.board.at(1, 3) = 7;  // no cell code of the game
    finder.buildPassGrid(s);
    EXPECT_FALSE(finder.passable(1, 1));  // wall
    EXPECT_TRUE(finder.passable(2, 1));   // floor
    EXPECT_FALSE(finder.passable(3, 1));  // crate
    EXPECT_TRUE(finder.passable(1, 2));   // floor, the transpose of the wall
    EXPECT_TRUE(finder.passable(2, 2));   // target
    EXPECT_FALSE(finder.passable(3, 2));  // crate on target
    EXPECT_FALSE(finder.passable(1, 3));  // unknown code
    EXPECT_FALSE(finder.passable(0, 1));
    EXPECT_FALSE(finder.passable(16, 1));
}

TEST_F(PathFinderTest, KeeperSquareIsPassableWhateverItHolds) {
    setBoard({
        "#####",
        "#   #",
        "#   #",
        "#####",
    });
    s.board.at(2, 2) = 7;
    s.board.at(4, 3) = 7;
    s.keeperX = 2;
    s.keeperY = 2;
    finder.buildPassGrid(s);
    EXPECT_TRUE(finder.passable(2, 2));
    EXPECT_FALSE(finder.passable(4, 3));
    EXPECT_EQ(walk({2, 2}, {4, 2}), (Walk{{3, 2}, {4, 2}}));
    EXPECT_EQ(search({2, 2}, {4, 3}), nullptr);

    s.board.at(2, 2) = CellWall;
    finder.buildPassGrid(s);
    EXPECT_TRUE(finder.passable(2, 2));
}

TEST_F(PathFinderTest, KeeperOffTheBoardFindsNoWalk) {
    // Only a damaged level file puts the keeper there.
    setBoard(openRoom());
    s.keeperX = 0;
    s.keeperY = 200;
    finder.buildPassGrid(s);
    EXPECT_EQ(search({0, 200}, {2, 2}), nullptr);
    EXPECT_EQ(search({16, 1}, {2, 2}), nullptr);  // key 31 would pose as square (1, 2)
}

// On many random boards, from the keeper to every square: a walk exists exactly when the
// square is reachable, steps square by square over passable squares, and every node on it
// carries the cost of its own parent chain, also after costs were lowered in the closed list.
TEST_F(PathFinderTest, RandomBoardsGiveSoundWalks) {
    std::mt19937 random(1998);
    for (int round = 0; round < 100; ++round) {
        for (auto& cell : s.board.cells) {
            const unsigned roll = random() % 100;
            cell = roll < 25   ? CellWall
                   : roll < 32 ? CellCrate
                   : roll < 36 ? CellTarget
                               : CellEmpty;
        }
        s.keeperX = static_cast<int>(random() % 15) + 1;
        s.keeperY = static_cast<int>(random() % 15) + 1;
        finder.buildPassGrid(s);
        const Square start{s.keeperX, s.keeperY};
        const std::vector<int> distance = distancesFrom(finder, start);

        for (int y = 1; y <= BoardSide; ++y) {
            for (int x = 1; x <= BoardSide; ++x) {
                SCOPED_TRACE(::testing::Message()
                             << "round " << round << " from (" << start.first << ", "
                             << start.second << ") to (" << x << ", " << y << ")");
                const PathNode* target = search(start, {x, y});
                const int shortest = distance[squareIndex(x, y)];
                ASSERT_EQ(target != nullptr, shortest >= 0);
                if (!target) continue;
                EXPECT_EQ(Square(target->x, target->y), Square(x, y));
                Square at = start;
                int steps = 0;
                for (const Square& step : walkTo(*target)) {
                    ASSERT_EQ(std::abs(step.first - at.first) + std::abs(step.second - at.second),
                              1);
                    ASSERT_TRUE(finder.passable(step.first, step.second));
                    at = step;
                    ++steps;
                }
                EXPECT_GE(steps, shortest);
                int depth = 0;
                for (const PathNode* node = target; node; node = node->parent) {
                    ASSERT_EQ(node->g, steps - depth);
                    ASSERT_EQ(node->f, node->g + node->h);
                    ++depth;
                }
            }
        }
    }
}

TEST_F(PathFinderTest, NothingCarriesOverFromTheLastSearch) {
    setBoard(TwoPillarRoom);
    const Walk fresh = walk({2, 3}, {5, 3});
    setBoard(openRoom());
    walk({2, 2}, {14, 14});
    EXPECT_EQ(search({2, 2}, {1, 1}), nullptr);
    setBoard(TwoPillarRoom);
    EXPECT_EQ(walk({2, 3}, {5, 3}), fresh);
}

}  // namespace
}  // namespace quarbel
