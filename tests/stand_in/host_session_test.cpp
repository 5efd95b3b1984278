// The stand-in with the real plugin library: the start sequence, and the
// plugin's own clock following the date the stand-in pins (the library calls
// time() and binds to the stand-in's).
#include <gtest/gtest.h>

#include <string>

#include "civil_date.h"
#include "clock_override.h"
#include "contact_import.h"
#include "host_error.h"
#include "host_session.h"
#include "recording_events.h"
#include "text_codec.h"
#include "vemora_version.h"
#include "wire/ids.h"

namespace vemora::standin {

namespace {

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ContactRecord ewa;
        ewa.uid = "5001";
        ewa.display = "Ewa";
        ewa.birthDate = CivilDate{1996, 3, 9};
        ewa.gender = 1;
        importContacts(model.tables, {ewa});
    }
    void TearDown() override { pinClock(std::nullopt); }

    HostModel model;
    RecordingEvents events;
    HostSession session{model, events, VEMORA_SO_PATH};
};

TEST_F(SessionTest, StartSequenceRegistersColumnsUiAndShowsTheNotice) {
    ASSERT_TRUE(pinClock(CivilDate{2026, 3, 9}));
    const PluginIdentity& identity = session.load();
    EXPECT_EQ(identity.net, 139u);
    EXPECT_EQ(identity.type, 145u);
    EXPECT_EQ(identity.version, VEMORA_VERSION_TEXT);
    EXPECT_EQ(identity.name, "Vemora");
    session.startUp();

    EXPECT_EQ(model.columns.registeredColumns().size(), 6u);
    EXPECT_EQ(model.ui.icons().size(), 2u);
    EXPECT_EQ(model.ui.elements().size(), 24u);
    ASSERT_EQ(events.popups.size(), 1u);
    EXPECT_EQ(cp1250ToUtf8(events.popups[0].text),
              "Dziś urodziny obchodzą:\n- <b>Ewa<b> skończyła <b>30<b> lat\nZłóż jej życzenia!!");
    EXPECT_EQ(model.tables.read(model.columns, wire::CONTACT_TABLE, 1, 139033).number, 30);
    // Both buttons were refreshed: somebody has a birthday, so neither is inactive.
    for (const UiElement* button : model.ui.children(static_cast<int32_t>(BUTTON_GROUP))) {
        EXPECT_EQ(button->status, 0x1000000u);
    }
    EXPECT_TRUE(events.warnings.empty()) << events.warnings.front();
}

TEST_F(SessionTest, ThePluginsClockFollowsThePinnedDate) {
    ASSERT_TRUE(pinClock(CivilDate{2026, 3, 10}));
    session.load();
    session.startUp();
    EXPECT_TRUE(events.popups.empty()) << "nobody has a birthday on 10 March";

    ASSERT_TRUE(pinClock(CivilDate{2031, 3, 9}));
    session.notifyAction({139034, BUTTON_GROUP, wire::NO_CONTACT}, wire::ACTION_PRESSED);
    ASSERT_EQ(events.popups.size(), 1u);
    EXPECT_EQ(cp1250ToUtf8(events.popups[0].text),
              "Dziś urodziny obchodzą:\n- <b>Ewa<b> skończyła <b>35<b> lat\nZłóż jej życzenia!!");
}

TEST_F(SessionTest, StoppingUnloadsAndDropsTheUi) {
    session.load();
    session.startUp();
    session.stop();
    EXPECT_FALSE(session.running());
    EXPECT_TRUE(model.ui.elements().empty());
    EXPECT_EQ(model.columns.registeredColumns().size(), 6u) << "registered columns outlive the plugin's run";
    EXPECT_THROW(session.deliver(30010), HostError);
}

TEST(SessionLoad, AMissingLibraryIsAClearError) {
    HostModel model;
    RecordingEvents events;
    HostSession session(model, events, "/nonexistent/vemora.so");
    try {
        session.load();
        FAIL() << "loaded a library that does not exist";
    } catch (const HostError& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/vemora.so"), std::string::npos) << error.what();
    }
}

}  // namespace
}  // namespace vemora::standin
