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

uint32_t deliverAction(int32_t element, uint32_t code, int32_t parent, int32_t contact) {
    uint8_t buffer[1 + 18] = {};
    uint8_t* record = buffer + 1;
    const uint16_t size = 18;
    std::memcpy(record, &size, 2);
    std::memcpy(record + 2, &element, 4);
    std::memcpy(record + 6, &parent, 4);
    std::memcpy(record + 10, &contact, 4);
    std::memcpy(record + 14, &code, 4);
    return deliverPointer(wire::MSG_UI_ACTION, record);
}

PluginTest::PluginTest() { resetPluginState(); }
PluginTest::~PluginTest() { resetPluginState(); }

void PluginTest::connect() {
    ASSERT_EQ(deliverPointer(wire::MSG_INIT, host.control()), 1u);
    host.clearCalls();
}

}  // namespace vemora::testing
