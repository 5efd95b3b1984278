// The benchmarks' call tape: a run recorded between the plugin and the
// stand-in plays back against the stand-in alone, from copies.
#include <gtest/gtest.h>

#include "call_tape.h"
#include "clock_override.h"
#include "contact_import.h"
#include "host_session.h"
#include "recording_events.h"
#include "wire/ids.h"

namespace vemora::bench {
namespace {

using namespace vemora::standin;

TEST(CallTape, ARecordedRunPlaysBackWithoutThePlugin) {
    HostModel model;
    ContactRecord ewa;
    ewa.uid = "5001";
    ewa.display = "Ewa";
    ewa.birthDate = CivilDate{1996, 3, 9};
    importContacts(model.tables, {ewa});
    RecordingEvents events;
    HostSession session(model, events, VEMORA_SO_PATH);
    ASSERT_TRUE(pinClock(CivilDate{2026, 3, 9}));
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
