// Where the texts the plugin builds take their memory from: the C runtime's
// heap (on Windows msvcrt.dll's, which every Windows has). Nothing else in the
// plugin allocates. Tests swap in a heap that counts blocks or refuses one on
// purpose; the host never sees the seam.
#pragma once

#include <cstddef>

namespace vemora {

struct Heap {
    // Like realloc: a null block allocates; a null answer means no memory,
    // and the block is left as it was.
    void* (*reallocate)(void* block, size_t size);
    void (*release)(void* block);
};

const Heap& heap();

// Replaces the heap and returns the previous one; null restores the C
// runtime's. Only while no text is alive: a block goes back to its own heap.
const Heap* replaceHeap(const Heap* replacement);

}  // namespace vemora
