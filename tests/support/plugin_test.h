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

// Hands the plugin a record as the host would, through the dispatcher.
uint32_t deliver(uint32_t id, uint32_t p1 = 0, uint16_t size = 30);
uint32_t deliverPointer(uint32_t id, const void* p1);
// MSG_UI_ACTION about one element, as the host sends it: an 18-byte action
// record (size, id, parent, contact, event code) placed at an odd address,
// since the host's records may sit anywhere.
uint32_t deliverAction(int32_t element, uint32_t code, int32_t parent = 0, int32_t contact = -2);

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
