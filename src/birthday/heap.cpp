#include "birthday/heap.h"

#include <cstdlib>

namespace vemora {

namespace {

void* runtimeReallocate(void* block, size_t size) { return std::realloc(block, size); }
void runtimeRelease(void* block) { std::free(block); }

constinit const Heap RUNTIME_HEAP{&runtimeReallocate, &runtimeRelease};
constinit const Heap* currentHeap = &RUNTIME_HEAP;

}  // namespace

const Heap& heap() { return *currentHeap; }

const Heap* replaceHeap(const Heap* replacement) {
    const Heap* previous = currentHeap;
    currentHeap = replacement != nullptr ? replacement : &RUNTIME_HEAP;
    return previous;
}

}  // namespace vemora
