#include "pathheap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The cells (x) in the order the heap gives the nodes back.
std::vector<int32_t> PopAll(PathHeap& heap) {
    std::vector<int32_t> order;
    while (!heap.Empty()) {
        order.push_back(heap.Top().x);
        heap.Pop();
    }
    return order;
}

TEST(PathHeap, LowestPriorityFirst) {
    PathHeap heap;
    for (int32_t priority : {50, 20, 40, 10, 30}) heap.Push({priority, 0, 0, priority});
    EXPECT_EQ(PopAll(heap), (std::vector<int32_t>{10, 20, 30, 40, 50}));
}

// Among equal priorities the order is the discipline's own: a new node does not pass an equal
// parent, and on a pop the right child of two equal ones moves up.
TEST(PathHeap, EqualPrioritiesFollowTheDiscipline) {
    const struct {
        std::vector<int32_t> priorities;  // pushed in this order; node x is the push index
        std::vector<int32_t> popped;
    } cases[] = {
        {{5, 5, 5, 5}, {0, 2, 1, 3}},
        {{5, 5, 5, 5, 5}, {0, 2, 4, 1, 3}},
        {{7, 5, 5, 5}, {1, 2, 3, 0}},
        {{5, 5, 5, 5, 5, 5}, {0, 2, 5, 4, 1, 3}},
    };
    for (const auto& c : cases) {
        PathHeap heap;
        for (size_t i = 0; i < c.priorities.size(); ++i)
            heap.Push({int32_t(i), 0, 0, c.priorities[i]});
        EXPECT_EQ(PopAll(heap), c.popped) << ::testing::PrintToString(c.priorities);
    }
}

TEST(PathHeap, PopOnAnEmptyHeapDoesNothing) {
    PathHeap heap;
    heap.Pop();
    EXPECT_TRUE(heap.Empty());
    heap.Push({1, 2, 3, 4});
    EXPECT_EQ(heap.Size(), 1u);
    heap.Pop();
    EXPECT_TRUE(heap.Empty());
}

}  // namespace
