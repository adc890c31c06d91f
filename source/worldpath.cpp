// The World's path search: the grid of cells the player may enter about its tile, and an A*
// search over it whose neighbour order and open-list discipline decide between equally short
// routes.
#include <algorithm>
#include <cmath>

#include "core.h"
#include "creature.h"
#include "pathheap.h"
#include "tile.h"
#include "world.h"

namespace {

constexpr int32_t Unreached = 255;
constexpr size_t NeighbourCount = 8;

// The neighbours in the order they are tried. The step to neighbour i goes in map direction
// (i + 4) mod 8, which is also the index of the opposite step, so following a cell's stored
// direction through this table leads back to the cell it was reached from.
constexpr int32_t NeighbourDx[NeighbourCount] = {0, -1, -1, -1, 0, 1, 1, 1};
constexpr int32_t NeighbourDy[NeighbourCount] = {1, 1, 0, -1, -1, -1, 0, 1};

size_t CellIndex(int32_t x, int32_t y) { return size_t(y + PathRows * x); }

bool InGrid(int32_t x, int32_t y) { return x >= 0 && x < PathColumns && y >= 0 && y < PathRows; }

// Tenths of a straight step: 10 straight, 14 diagonal.
int32_t StepCost(size_t neighbour) { return 10 + 4 * int32_t(neighbour % 2); }

// The straight-line distance to the goal in whole steps, truncated.
int32_t Estimate(int32_t x, int32_t y, int32_t goalX, int32_t goalY) {
    const double dx = goalX - x, dy = goalY - y;
    return int32_t(std::sqrt(dx * dx + dy * dy));
}

// The search's working grids, rebuilt for every search.
struct SearchGrids {
    std::array<uint8_t, PathCells> closed{};
    std::array<int32_t, PathCells> open{};  // the priority a waiting cell has; 0: none
    std::array<uint8_t, PathCells> direction;
};

// The open list: all waiting nodes are in the current heap; the other one takes nodes only
// while a waiting node is replaced by a better one.
class OpenList {
public:
    PathHeap& Current() { return heaps[current]; }

    // Takes the waiting node of the cell out and adds its replacement.
    void Replace(const PathNode& node) {
        PathHeap* from = &heaps[current];
        PathHeap* to = &heaps[1 - current];
        while (!from->Empty() && (from->Top().x != node.x || from->Top().y != node.y)) {
            to->Push(from->Top());
            from->Pop();
        }
        from->Pop();
        if (from->Size() > to->Size()) {
            std::swap(from, to);
            current = 1 - current;
        }
        while (!from->Empty()) {
            to->Push(from->Top());
            from->Pop();
        }
        current = 1 - current;
        to->Push(node);
    }

private:
    PathHeap heaps[2];
    int32_t current = 0;
};

std::vector<uint8_t> TraceBack(const SearchGrids& grids, int32_t x, int32_t y, int32_t startX,
                               int32_t startY) {
    std::vector<uint8_t> steps;
    while (x != startX || y != startY) {
        const uint8_t direction = grids.direction[CellIndex(x, y)];
        steps.push_back(direction);
        x += NeighbourDx[direction];
        y += NeighbourDy[direction];
    }
    return steps;
}

}  // namespace

std::vector<uint8_t> World::FindPath(const PathGrid& blocked, uint16_t startX, uint16_t startY,
                                     uint16_t goalX, uint16_t goalY) {
    SearchGrids grids;
    grids.direction.fill(Unreached);
    OpenList open;
    open.Current().Push({startX, startY, 0, 10 * Estimate(startX, startY, goalX, goalY)});
    while (!open.Current().Empty()) {
        const PathNode node = open.Current().Top();
        open.Current().Pop();
        const size_t cell = CellIndex(node.x, node.y);
        grids.open[cell] = 0;
        grids.closed[cell] = 1;
        if (node.x == goalX && node.y == goalY)
            return TraceBack(grids, node.x, node.y, startX, startY);

        for (size_t i = 0; i < NeighbourCount; ++i) {
            const int32_t x = node.x + NeighbourDx[i], y = node.y + NeighbourDy[i];
            if (!InGrid(x, y)) continue;
            const size_t next = CellIndex(x, y);
            if (blocked[next] || grids.closed[next]) continue;
            const int32_t cost = node.cost + StepCost(i);
            const PathNode reached{x, y, cost, cost + 10 * Estimate(x, y, goalX, goalY)};
            const int32_t waiting = grids.open[next];
            if (waiting != 0 && waiting <= reached.priority) continue;
            grids.open[next] = reached.priority;
            grids.direction[next] = uint8_t((i + 4) % NeighbourCount);
            if (waiting == 0) open.Current().Push(reached);
            else open.Replace(reached);
        }
    }
    return {};
}

bool World::WalkTo(Creature* player, Position goal) {
    const Position at = player->position;
    const Layer* layer = GetLayer(at.z);
    PathGrid blocked;
    for (int32_t x = 0; x < PathColumns; ++x)
        for (int32_t y = 0; y < PathRows; ++y)
            blocked[CellIndex(x, y)] =
                IsPathBlocked(layer, player, at.x - PathStartX + x, at.y - PathStartY + y, goal);
    std::vector<uint8_t> route =
        FindPath(blocked, PathStartX, PathStartY, uint16_t(goal.x - at.x + PathStartX),
                 uint16_t(goal.y - at.y + PathStartY));
    if (route.empty()) return false;
    player->path = std::move(route);
    return true;
}

// A tile blocks unless the player may walk it on the way to the goal, or, while a creature is
// followed, the followed creature could stand there or stands there. A blocked goal stays
// reachable when it leads to another floor.
bool World::IsPathBlocked(const Layer* layer, const Creature* player, int32_t x, int32_t y,
                          Position goal) const {
    const Creature* followed = owner->followTarget;
    if (const Tile* tile = TileAt(layer, x, y)) {
        if (!tile->IsBlockedForPath(player, player->position, goal)) return false;
        if (followed &&
            (!tile->IsBlockedFor(followed) || tile->GetPosition() == followed->serverPosition))
            return false;
    }
    if (x != goal.x || y != goal.y) return true;
    const Position at = player->position;
    const int32_t d = at.z - goal.z;
    const Tile* below = TileAt(FindLayer(std::min(at.z, goal.z)), goal.x + d, goal.y + d);
    return !(below && below->HasStairThing());
}
