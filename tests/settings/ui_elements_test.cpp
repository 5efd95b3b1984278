// The element and icon builders on their own, where the layout does not reach.
#include <gtest/gtest.h>

#include "plugin_test.h"
#include "settings/ui_requests.h"

namespace vemora::testing {
namespace {

class UiElementsTest : public PluginTest {
protected:
    void SetUp() override { connect(); }
};

TEST_F(UiElementsTest, ExtendedAddKeepsTheSizesOfThePlainFormAndZeroesItsOwn) {
    addActionEx(1, 2, 3, "t", 5, /*half70*/ 13, /*half72*/ 14, /*word66*/ 15, /*word58*/ 16);
    const HostCall add = host.messages(wire::REQ_ACTION_ADD).at(0);
    ASSERT_EQ(add.payload.size(), 78u);
    EXPECT_EQ(add.payloadHalf(0), 78u);
    EXPECT_EQ(add.payloadHalf(70), 13u);
    EXPECT_EQ(add.payloadHalf(72), 14u);
    EXPECT_EQ(add.payloadWord(66), 15u);
    EXPECT_EQ(add.payloadWord(58), 16u);
    EXPECT_EQ(add.payloadHalf(74), 0u);
    EXPECT_EQ(add.payloadHalf(76), 0u);
}

}  // namespace
}  // namespace vemora::testing
