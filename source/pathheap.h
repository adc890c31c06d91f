#pragma once
// The open list of the path search: an array-based binary heap of search nodes with the lowest
// priority on top. Among equal priorities its order decides which of several equally short
// routes is found, so pushing and popping follow one fixed discipline (see pathheap.cpp).
#include <cstdint>
#include <vector>

// One search node: a cell of the local grid, the path length so far in tenths of a straight
// step, and that length plus the distance estimate.
struct PathNode {
    int32_t x, y;
    int32_t cost;
    int32_t priority;
};

class PathHeap {
public:
    bool Empty() const { return nodes.empty(); }
    size_t Size() const { return nodes.size(); }
    // The node of lowest priority; the heap must not be empty.
    const PathNode& Top() const { return nodes.front(); }
    void Push(const PathNode& node);
    // Removes the top node; nothing on an empty heap.
    void Pop();
    void Clear() { nodes.clear(); }

private:
    // Puts the node into the hole at `hole` and moves it up past every parent of strictly
    // greater priority.
    void SiftUp(size_t hole, const PathNode& node);

    std::vector<PathNode> nodes;
};
