#include "test_heap.h"

#include <cstdlib>

namespace vemora::testing {

namespace {

struct Counts {
    int requests = 0;
    int refuseAt = 0;
    int refusals = 0;
    int liveBlocks = 0;
};
Counts counts;

void* reallocate(void* block, size_t size) {
    ++counts.requests;
    if (counts.requests == counts.refuseAt) {
        ++counts.refusals;
        return nullptr;
    }
    void* moved = std::realloc(block, size);
    if (moved != nullptr && block == nullptr) ++counts.liveBlocks;
    return moved;
}

void release(void* block) {
    if (block != nullptr) --counts.liveBlocks;
    std::free(block);
}

const Heap COUNTING_HEAP{&reallocate, &release};

}  // namespace

TestHeap::TestHeap() : previous_(replaceHeap(&COUNTING_HEAP)) { counts = Counts{}; }

TestHeap::~TestHeap() { replaceHeap(previous_); }

void TestHeap::refuseRequest(int n) { counts.refuseAt = n == 0 ? 0 : counts.requests + n; }

int TestHeap::requests() const { return counts.requests; }
int TestHeap::refusals() const { return counts.refusals; }
int TestHeap::liveBlocks() const { return counts.liveBlocks; }

}  // namespace vemora::testing
