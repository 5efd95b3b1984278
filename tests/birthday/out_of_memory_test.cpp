// When memory runs out while the plugin builds a text: the notice is not
// shown (its ages are still written), a contact whose wish cannot be built
// gets none while the others get theirs whole, and every block taken is given
// back. Each case is tried with every single allocation refused in turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "birthday/birthday_list.h"
#include "birthday/calendar_date.h"
#include "birthday/operations.h"
#include "plugin_test.h"
#include "test_heap.h"

namespace vemora::testing {
namespace {

// Long enough that texts grow past their first block more than once.
const std::string LONG_NAME(150, 'x');

class OutOfMemoryTest : public PluginTest {
protected:
    void SetUp() override {
        connect();
        for (int32_t row = 1; row <= 3; ++row) {
            const std::string name = "Kontakt" + std::to_string(row) + LONG_NAME;
            host.setInt(wire::CONTACT_TABLE, row, wire::CNT_BIRTH_DATE, encodeBirthDate(1990 + row, 3, 9));
            host.setText(wire::CONTACT_TABLE, row, wire::CNT_DISPLAY_NAME, name);
            host.setText(wire::CONTACT_TABLE, row, wire::CNT_NICK, "nick" + std::to_string(row) + LONG_NAME);
            host.setText(wire::CONTACT_TABLE, row, wire::CNT_UID, "uid" + std::to_string(row));
            host.setInt(wire::CONTACT_TABLE, row, wire::CNT_GENDER_CODE, 2);
        }
        host.contactCount = 3;
        host.setText(wire::CONFIG_TABLE, 0, wire::CFG_WISH_TEXT, "Sto lat, @display (@nick)! @age @age @age");
    }

    int shown() const {
        return static_cast<int>(host.messages(wire::NOTIFY_SHOW).size() + host.messages(wire::REQ_INFO_BOX).size());
    }
    int ageWrites() const {
        int writes = 0;
        for (const HostCall& call : host.ofKind(HostCall::Kind::SetValue)) writes += call.column == wire::CNT_AGE;
        return writes;
    }
    // Recipient and text of every wish handed to the host, in order.
    std::vector<std::string> wishes() const {
        std::vector<std::string> sent;
        for (const HostCall& call : host.messages(wire::REQ_MESSAGE_NEW))
            sent.push_back(call.payloadText(18).value_or("?") + ": " + call.payloadText(22).value_or("<null>"));
        return sent;
    }
};

TEST_F(OutOfMemoryTest, ANoticeWithoutMemoryIsNotShownButItsAgesAreWritten) {
    for (const int32_t mode : {NOTICE_POPUP, NOTICE_INFO_BOX}) {
        int allocations = 0;
        {
            TestHeap heap;
            host.clearCalls();
            showBirthdayNotice(mode);
            allocations = heap.requests();
            ASSERT_EQ(shown(), 1);
            EXPECT_EQ(heap.liveBlocks(), 0);
        }
        ASSERT_GT(allocations, 1) << "the notice should grow more than once";
        for (int refused = 1; refused <= allocations; ++refused) {
            TestHeap heap;
            heap.refuseRequest(refused);
            host.clearCalls();
            showBirthdayNotice(mode);
            EXPECT_EQ(heap.refusals(), 1);
            EXPECT_EQ(shown(), 0) << "mode " << mode << ", allocation " << refused << " refused";
            EXPECT_EQ(ageWrites(), 3) << "mode " << mode << ", allocation " << refused << " refused";
            EXPECT_EQ(heap.liveBlocks(), 0);
        }
    }
}

TEST_F(OutOfMemoryTest, AContactWhoseWishCannotBeBuiltGetsNoneAndTheOthersGetTheirsWhole) {
    collectTodaysBirthdays();
    std::vector<std::string> everyone;
    int allocations = 0;
    {
        TestHeap heap;
        host.clearCalls();
        sendWishes();
        everyone = wishes();
        allocations = heap.requests();
        EXPECT_EQ(heap.liveBlocks(), 0);
    }
    ASSERT_EQ(everyone.size(), 3u);
    ASSERT_GT(allocations, 3) << "each wish should grow more than once";

    std::vector<int> missedBy(3, 0);
    for (int refused = 1; refused <= allocations; ++refused) {
        TestHeap heap;
        heap.refuseRequest(refused);
        host.clearCalls();
        sendWishes();
        const std::vector<std::string> sent = wishes();
        // Exactly one contact is missing, and the others' wishes are untouched.
        ASSERT_EQ(sent.size(), 2u) << "allocation " << refused << " refused";
        const auto missing = std::find_if(everyone.begin(), everyone.end(), [&](const std::string& wish) {
            return std::find(sent.begin(), sent.end(), wish) == sent.end();
        });
        ASSERT_NE(missing, everyone.end());
        std::vector<std::string> others = everyone;
        others.erase(others.begin() + (missing - everyone.begin()));
        EXPECT_EQ(sent, others) << "allocation " << refused << " refused";
        ++missedBy[missing - everyone.begin()];
        EXPECT_EQ(heap.liveBlocks(), 0);
    }
    // Every contact's turn was hit by some refusal, the last one's included.
    for (int contact = 0; contact < 3; ++contact) EXPECT_GT(missedBy[contact], 0) << contact;
}

TEST_F(OutOfMemoryTest, AWholeSessionGivesBackEveryBlockAfterEachMessage) {
    TestHeap heap;
    for (const uint32_t id : {wire::MSG_SETCOLUMNS, wire::MSG_UI_PREPARE, wire::MSG_START}) {
        deliver(id);
        EXPECT_EQ(heap.liveBlocks(), 0) << "after message " << id;
    }
    for (const uint32_t code : {wire::ACTION_REFRESH, wire::ACTION_PRESSED}) {
        for (const int32_t button : {wire::ACT_BIRTHDAYS_BUTTON, wire::ACT_SEND_WISHES_BUTTON}) {
            deliverAction({button, 0, wire::NO_CONTACT}, code);
            EXPECT_EQ(heap.liveBlocks(), 0) << "after event " << code << " of " << button;
        }
    }
    deliver(wire::MSG_DEINIT);
    EXPECT_EQ(heap.liveBlocks(), 0);
    EXPECT_GT(heap.requests(), 0);
    EXPECT_EQ(wishes().size(), 3u);
}

}  // namespace
}  // namespace vemora::testing
