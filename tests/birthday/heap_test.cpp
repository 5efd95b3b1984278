// Where the texts the plugin builds take their memory from.
#include <gtest/gtest.h>

#include <string>

#include "birthday/byte_text.h"
#include "birthday/heap.h"
#include "test_heap.h"

namespace vemora::testing {
namespace {

TEST(Heap, NullPutsTheRuntimeHeapBackInPlace) {
    const Heap* runtime = &heap();  // no test heap lives here: the C runtime's
    TestHeap counting;
    const Heap* countingHeap = &heap();
    ASSERT_NE(countingHeap, runtime);

    EXPECT_EQ(replaceHeap(nullptr), countingHeap);
    EXPECT_EQ(&heap(), runtime);
    {
        // A text now grows in the runtime's blocks, unseen by the counting heap.
        ByteText text;
        ASSERT_TRUE(text.append(std::string(1000, 'x')));
        EXPECT_EQ(text.view(), std::string(1000, 'x'));
    }
    EXPECT_EQ(counting.requests(), 0);
    EXPECT_EQ(counting.liveBlocks(), 0);
}

}  // namespace
}  // namespace vemora::testing
