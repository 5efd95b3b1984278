// Base fixture: every test starts from the plugin's state at load, talks to a
// fresh recording host, and sees a pinned "today".
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "birthday/today.h"
#include "fake_host.h"

namespace vemora::testing {

// Pins today's date for as long as it lives.
class ScopedToday {
public:
    explicit ScopedToday(CalendarDate date);
    ~ScopedToday();
    ScopedToday(const ScopedToday&) = delete;
    ScopedToday& operator=(const ScopedToday&) = delete;
    void set(CalendarDate date);

private:
    TodaySource previous_;
};

// A record as the host hands it: `size` bytes long (a bare header below 30).
wire::MessageRecord incoming(uint32_t id, uint32_t p1 = 0, uint16_t size = 30);
// Hands the plugin such a record, through the dispatcher.
uint32_t deliver(uint32_t id, uint32_t p1 = 0, uint16_t size = 30);
uint32_t deliverPointer(uint32_t id, const void* p1, uint16_t size = 30);
// MSG_UI_ACTION: an event of one element, as the host sends it: an 18-byte
// action record placed at an odd address, since the host's records may sit
// anywhere.
uint32_t deliverAction(const wire::ActionRef& element, uint32_t code);

class PluginTest : public ::testing::Test {
protected:
    static constexpr CalendarDate TODAY{2026, 3, 9};

    PluginTest();
    ~PluginTest() override;

    // MSG_INIT with this test's host; the recorded calls start empty after it.
    void connect();

    FakeHost host;
    ScopedToday today{TODAY};
};

}  // namespace vemora::testing
