// A heap for the texts the plugin builds that counts every request and every
// block alive, and can refuse one request on purpose: tests see all the
// memory the plugin takes, whether it gives it all back, and what it does
// when memory runs out. It serves the plugin while it lives.
#pragma once

#include "birthday/heap.h"

namespace vemora::testing {

class TestHeap {
public:
    TestHeap();
    ~TestHeap();
    TestHeap(const TestHeap&) = delete;
    TestHeap& operator=(const TestHeap&) = delete;

    // The n-th request from now on (counting from 1) is answered "no memory";
    // 0 refuses none.
    void refuseRequest(int n);

    int requests() const;    // allocations and growths asked for so far
    int refusals() const;    // of them, answered "no memory"
    int liveBlocks() const;  // blocks handed out and not yet released

private:
    const Heap* previous_;
};

}  // namespace vemora::testing
