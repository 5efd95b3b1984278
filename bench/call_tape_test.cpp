// The benchmarks' call tape: a run recorded between the plugin and the
// stand-in plays back against the stand-in alone, from copies.
#include <gtest/gtest.h>

#include "call_tape.h"
#include "contacts_csv.h"
#include "endpoint.h"
#include "platform.h"
#include "wire/ids.h"

namespace vemora::bench {
namespace {

using namespace vemora::standin;

// Keeps what the host would show.
class RecordingEvents : public HostEvents {
public:
    void popupShown(const PopupShown& popup) override { popups.push_back(popup); }
    void messageCreated(const OutgoingMessage& message) override { created.push_back(message); }
    void messageQueued(const OutgoingMessage& message) override { queued.push_back(message); }

    std::vector<PopupShown> popups;
    std::vector<OutgoingMessage> created, queued;
};

TEST(CallTape, ARecordedRunPlaysBackWithoutThePlugin) {
    HostModel model;
    importContacts(model.tables, readContactsCsv("uid,display,birth date\n5001,Ewa,1996-03-09\n", "ewa").contacts);
    RecordingEvents events;
    HostEndpoint session(model, events, VEMORA_SO_PATH);
    ASSERT_TRUE(pinClock(CivilDate{std::chrono::year{2026}, std::chrono::March, std::chrono::day{9}}));
    session.load();
    session.startUp();

    CallTape tape(session.control());
    session.deliver(wire::MSG_INIT, wire::wordOf(tape.control()));
    session.deliver(wire::MSG_START);
    session.notifyAction({wire::ACT_SEND_WISHES_BUTTON, BUTTON_GROUP, wire::NO_CONTACT}, wire::ACTION_PRESSED);
    ASSERT_EQ(events.popups.size(), 2u);
    ASSERT_EQ(events.created.size(), 1u);

    session.stop();  // the plugin's own memory is gone: the tape holds copies
    pinClock(std::nullopt);
    tape.replay();
    ASSERT_EQ(events.popups.size(), 3u);
    EXPECT_EQ(events.popups[2].text, events.popups[1].text);
    ASSERT_EQ(events.created.size(), 2u);
    EXPECT_EQ(events.created[1].recipient, "5001");
    EXPECT_EQ(events.created[1].body, events.created[0].body);
    EXPECT_EQ(events.queued.size(), 2u);
}

}  // namespace
}  // namespace vemora::bench
