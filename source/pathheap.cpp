#include "pathheap.h"

void PathHeap::Push(const PathNode& node) {
    nodes.push_back(node);
    SiftUp(nodes.size() - 1, node);
}

void PathHeap::SiftUp(size_t hole, const PathNode& node) {
    while (hole > 0) {
        const size_t parent = (hole - 1) / 2;
        if (nodes[parent].priority <= node.priority) break;
        nodes[hole] = nodes[parent];
        hole = parent;
    }
    nodes[hole] = node;
}

// The last node is taken out and the hole left by the top sinks to the bottom, each level
// filled from the child of lower priority; on equal priorities the right child moves up. Where
// the hole reaches the one parent with only a left child, that child moves up. The last node
// then goes into the hole and rises.
void PathHeap::Pop() {
    if (nodes.size() < 2) {
        nodes.clear();
        return;
    }
    const PathNode last = nodes.back();
    nodes.pop_back();
    const size_t size = nodes.size();
    size_t hole = 0;
    for (size_t right = 2; right < size; right = 2 * hole + 2) {
        const size_t left = right - 1;
        const size_t child = nodes[right].priority > nodes[left].priority ? left : right;
        nodes[hole] = nodes[child];
        hole = child;
    }
    if (2 * hole + 1 == size - 1) {
        nodes[hole] = nodes[size - 1];
        hole = size - 1;
    }
    SiftUp(hole, last);
}
