#include "mouse/pathfinder.h"

namespace quarbel {

namespace {

int squareKey(int x, int y) {
    return x + BoardSide * y;
}

int gridIndex(int x, int y) {
    return BoardSide * (y - 1) + (x - 1);
}

void recordSuccessor(PathNode& p, PathNode& n) {
    p.successors[p.successorCount++] = &n;
}

}  // namespace

PathFinder::PathFinder() {
    // Enough for any pass on this board in practice; a deeper one grows the stack once.
    stack.reserve(BoardCells);
}

void PathFinder::buildPassGrid(const GameState& s) {
    for (int y = 1; y <= BoardSide; ++y) {
        for (int x = 1; x <= BoardSide; ++x) {
            passGrid[gridIndex(x, y)] = isWalkable(s.board.at(x, y));
        }
    }
    if (onBoard(s.keeperX, s.keeperY)) passGrid[gridIndex(s.keeperX, s.keeperY)] = 1;
}

bool PathFinder::passable(int x, int y) const {
    return onBoard(x, y) && passGrid[gridIndex(x, y)] != 0;
}

const PathNode* PathFinder::findPath(int startX, int startY, int targetX, int targetY) {
    nodesUsed = 0;
    open = nullptr;
    nodeOfSquare.fill(nullptr);
    // Only a damaged level puts the keeper off the board; no walk leads from there.
    if (!onBoard(startX, startY) || !onBoard(targetX, targetY)) return nullptr;

    open = newNode(startX, startY, targetX, targetY);
    const int targetKey = squareKey(targetX, targetY);
    while (open) {
        PathNode& p = *open;
        open = p.next;
        p.next = nullptr;
        if (p.key == targetKey) return &p;

        // Up, right, down, left: this order decides between walks of equal promise.
        const int x = p.x;
        const int y = p.y;
        handleSuccessor(p, x, y - 1, targetX, targetY);
        handleSuccessor(p, x + 1, y, targetX, targetY);
        handleSuccessor(p, x, y + 1, targetX, targetY);
        handleSuccessor(p, x - 1, y, targetX, targetY);
    }
    return nullptr;
}

void PathFinder::handleSuccessor(PathNode& p, int x, int y, int targetX, int targetY) {
    if (!passable(x, y)) return;
    // Each square has at most one node, waiting or expanded, so the square finds the same
    // node as a walk along the open and then the expanded nodes would, only sooner.
    if (PathNode* known = nodeOfSquare[gridIndex(x, y)]) {
        recordSuccessor(p, *known);
        // A waiting node keeps its place, and having no successors yet it passes nothing on.
        if (lowerThrough(p, *known)) passOnLoweredCost(*known);
        return;
    }
    PathNode* fresh = newNode(x, y, targetX, targetY);
    fresh->parent = &p;
    fresh->g = p.g + 1;
    fresh->f = fresh->g + fresh->h;
    insertOpen(*fresh);
    recordSuccessor(p, *fresh);
}

PathNode* PathFinder::newNode(int x, int y, int targetX, int targetY) {
    PathNode& node = pool[nodesUsed++];
    node = PathNode{};
    nodeOfSquare[gridIndex(x, y)] = &node;
    node.x = x;
    node.y = y;
    node.key = squareKey(x, y);
    node.h = (x - targetX) * (x - targetX) + (y - targetY) * (y - targetY);
    node.f = node.h;
    return &node;
}

void PathFinder::insertOpen(PathNode& node) {
    // Ahead of every waiting node of equal f, so among equals the newest comes first.
    PathNode** link = &open;
    while (*link && (*link)->f < node.f)
        link = &(*link)->next;
    node.next = *link;
    *link = &node;
}

void PathFinder::passOnLoweredCost(PathNode& q) {
    for (PathNode* s : q.recordedSuccessors()) {
        if (lowerThrough(q, *s)) stack.push_back(s);
        while (!stack.empty()) {
            PathNode& r = *stack.back();
            stack.pop_back();
            for (PathNode* t : r.recordedSuccessors()) {
                if (lowerThrough(r, *t)) stack.push_back(t);
            }
        }
    }
}

bool PathFinder::lowerThrough(PathNode& r, PathNode& t) {
    // An equal cost changes nothing.
    if (r.g + 1 >= t.g) return false;
    t.g = r.g + 1;
    t.f = t.g + t.h;
    t.parent = &r;
    return true;
}

std::pair<int, int> firstStep(const PathNode& target) {
    const PathNode* step = &target;
    if (!step->parent) return {step->x, step->y};
    while (step->parent->parent)
        step = step->parent;
    return {step->x, step->y};
}

}  // namespace quarbel
