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

wire::MessageRecord incoming(uint32_t id, uint32_t p1, uint16_t size) {
    return {{size, id, 0, wire::HOST_NET, 0, 0}, p1, 0};
}

uint32_t deliver(uint32_t id, uint32_t p1, uint16_t size) {
    const wire::MessageRecord record = incoming(id, p1, size);
    return dispatchMessage(&record);
}

uint32_t deliverPointer(uint32_t id, const void* p1, uint16_t size) {
    return deliver(id, wire::wordOf(p1), size);
}

uint32_t deliverAction(const wire::ActionRef& element, uint32_t code) {
    const wire::ActionNotifyRecord notice{sizeof(wire::ActionNotifyRecord), element, code};
    uint8_t buffer[1 + sizeof notice] = {};
    std::memcpy(buffer + 1, &notice, sizeof notice);
    return deliverPointer(wire::MSG_UI_ACTION, buffer + 1);
}

PluginTest::PluginTest() { resetPluginState(); }
PluginTest::~PluginTest() { resetPluginState(); }

void PluginTest::connect() {
    ASSERT_EQ(deliverPointer(wire::MSG_INIT, host.control()), 1u);
    host.clearCalls();
}

}  // namespace vemora::testing
