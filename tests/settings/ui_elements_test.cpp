// The element and icon builders on their own, where the layout does not reach.
#include <gtest/gtest.h>

#include "host/request_ids.h"
#include "plugin_test.h"
#include "settings/icon_registration.h"
#include "settings/ui_elements.h"

namespace vemora::testing {
namespace {

class UiElementsTest : public PluginTest {
protected:
    void SetUp() override { connect(); }
};

TEST_F(UiElementsTest, ExtendedAddPutsItsFirstSizesAtTheEnd) {
    addActionEx(1, 2, 3, "t", 5, /*sizeC*/ 11, /*sizeD*/ 12, /*sizeA*/ 13, /*sizeB*/ 14, /*extraA*/ 15, /*extraB*/ 16);
    const HostCall add = host.messages(REQ_ACTION_ADD).at(0);
    ASSERT_EQ(add.payload.size(), 78u);
    EXPECT_EQ(add.payloadHalf(0), 78u);
    EXPECT_EQ(add.payloadHalf(74), 11u);
    EXPECT_EQ(add.payloadHalf(76), 12u);
    EXPECT_EQ(add.payloadHalf(70), 13u);
    EXPECT_EQ(add.payloadHalf(72), 14u);
    EXPECT_EQ(add.payloadWord(66), 15u);
    EXPECT_EQ(add.payloadWord(58), 16u);
}

TEST_F(UiElementsTest, IconRegistrationAnswersItsOwnIdWhateverTheHostSays) {
    host.answer = [](const HostCall&) { return std::optional<uint32_t>(77); };
    EXPECT_EQ(registerIcon(1, 139009, nullptr, 2, 1), 139009u);
}

}  // namespace
}  // namespace vemora::testing
