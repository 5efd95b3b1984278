// The growable text the plugin builds its notice and wishes in.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "birthday/byte_text.h"
#include "test_heap.h"

namespace vemora::testing {
namespace {

TEST(ByteText, GrowsAsNeededAndStaysZeroTerminated) {
    TestHeap heap;
    ByteText text;
    EXPECT_STREQ(text.c_str(), "");
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        const std::string part = "part" + std::to_string(i) + std::string("\0\xb9", 2);
        ASSERT_TRUE(text.append(part));
        expected += part;
    }
    EXPECT_EQ(text.view(), expected);
    EXPECT_EQ(text.c_str()[text.size()], '\0');
    EXPECT_LT(heap.requests(), 12) << "growth should double, not creep";
    EXPECT_EQ(heap.liveBlocks(), 1);
}

TEST(ByteText, OnceMemoryRanOutItKeepsWhatItHeldAndTakesNothingMore) {
    TestHeap heap;
    ByteText text;
    ASSERT_TRUE(text.append("Dzi\x9c"));
    heap.refuseRequest(1);
    EXPECT_FALSE(text.append(std::string(500, 'x')));
    EXPECT_TRUE(text.failed());
    EXPECT_FALSE(text.append("y"));  // even what would have fitted
    EXPECT_EQ(text.view(), "Dzi\x9c");
    EXPECT_EQ(heap.liveBlocks(), 1);
}

TEST(ByteText, MovingHandsOverTheBlockAndReleasesWhatItReplaces) {
    TestHeap heap;
    {
        ByteText first;
        first.append("pierwszy");
        ByteText second;
        second.append("drugi");
        ASSERT_EQ(heap.liveBlocks(), 2);
        second = std::move(first);
        EXPECT_EQ(heap.liveBlocks(), 1);
        EXPECT_EQ(second.view(), "pierwszy");
        const ByteText third(std::move(second));
        EXPECT_EQ(third.view(), "pierwszy");
        EXPECT_EQ(heap.liveBlocks(), 1);
    }
    EXPECT_EQ(heap.liveBlocks(), 0);
}

// Lengths that would wrap around the address space, refused as memory running
// out before the heap is asked or a byte of the part is read: the part handed
// over is 3 bytes long whatever length it claims.
void expectRefusedAfterThreeBytes(size_t length) {
    TestHeap heap;
    ByteText text;
    ASSERT_TRUE(text.append("abc"));
    const int requests = heap.requests();
    EXPECT_FALSE(text.append(std::string_view("xyz", length))) << length;
    EXPECT_TRUE(text.failed());
    EXPECT_EQ(heap.requests(), requests) << "the heap was asked for room for " << length << " bytes more";
    EXPECT_EQ(text.view(), "abc");
    EXPECT_EQ(text.c_str()[3], '\0');
}

constexpr size_t MAX_SIZE = static_cast<size_t>(-1);

TEST(ByteText, AppendWhoseSizeWouldWrapAroundIsRefused) {
    expectRefusedAfterThreeBytes(MAX_SIZE - 2);  // 3 + (MAX_SIZE - 2) wraps to 0
    expectRefusedAfterThreeBytes(MAX_SIZE);
}

TEST(ByteText, CapacityOfHalfTheAddressSpaceOrMoreIsRefused) {
    // The sums do not wrap (MAX_SIZE / 2 and MAX_SIZE bytes), but a block
    // that large could not double without wrapping.
    expectRefusedAfterThreeBytes(MAX_SIZE / 2 - 3);
    expectRefusedAfterThreeBytes(MAX_SIZE - 3);
}

}  // namespace
}  // namespace vemora::testing
