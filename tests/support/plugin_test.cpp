#include "plugin_test.h"

#include <cstring>

#include "entry/dispatch.h"

namespace vemora::testing {

namespace {
CalendarDate pinnedDate{};
CalendarDate pinned() { return pinnedDate; }
}  // namespace

ScopedToday::ScopedToday(CalendarDate date) : previous_(replaceTodaySource(&pinned)) { pinnedDate = date; }
ScopedToday::~ScopedToday() { replaceTodaySource(previous_); }
void ScopedToday::set(CalendarDate date) { pinnedDate = date; }

uint32_t deliver(uint32_t id, uint32_t p1, uint16_t size) {
    MessageRecord record(id, 0, 0, p1, 0);
    record.header.size = size;
    return dispatchMessage(&record);
}

uint32_t deliverPointer(uint32_t id, const void* p1) { return deliver(id, toWord(p1)); }

PluginTest::PluginTest() { resetPluginState(); }
PluginTest::~PluginTest() { resetPluginState(); }

void PluginTest::connect() {
    ASSERT_EQ(deliverPointer(wire::MSG_INIT, host.control()), 1u);
    host.clearCalls();
}

}  // namespace vemora::testing
