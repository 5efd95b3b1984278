// The growable text the plugin builds its notice and wishes in.
#include <gtest/gtest.h>

#include <string>
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

}  // namespace
}  // namespace vemora::testing
