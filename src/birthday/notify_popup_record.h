// The record that asks the notifier plugin to show a popup. It travels through
// the host's sendMessage, addressed to the notifier's net.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/records.h"
#include "host/request_ids.h"

namespace vemora {

#pragma pack(push, 1)

struct NotifyPopupRecord {
    MessageHeader header;  // NOTIFY_SHOW to NOTIFIER_NET, type -1
    uint8_t gap[2];        // unassigned; zeroed so no stale stack bytes travel
    uint32_t text;         // address of the zero-terminated text to show
    uint8_t style;         // bits 0-3 always 0, bits 4-7 from the builder
    uint8_t timeout;       // how long the popup stays (meaning is the notifier's)
    uint8_t byte30;        // always 0
    uint8_t reserved;      // unassigned; zeroed
    uint32_t icon;         // host icon id
    ActionRef action;      // no action: id 0, parent 0, contact -2
    uint32_t word48;       // always 0

    // The builder: the text, the icon, the 4-bit value for the high half of
    // `style` (its upper bits are dropped) and the initial timeout.
    NotifyPopupRecord(const char* popupText, uint32_t iconId, uint32_t styleHigh, uint8_t initialTimeout)
        : header(NOTIFY_SHOW, NOTIFIER_NET, TYPE_QUERY),
          gap{0, 0},
          text(toWord(popupText)),
          style(static_cast<uint8_t>((styleHigh & 0x0Fu) << 4)),
          timeout(initialTimeout),
          byte30(0),
          reserved(0),
          icon(iconId),
          action(),
          word48(0) {
        header.size = sizeof(NotifyPopupRecord);
    }
};

#pragma pack(pop)

static_assert(sizeof(NotifyPopupRecord) == 52);
static_assert(offsetof(NotifyPopupRecord, header) == 0);
static_assert(offsetof(NotifyPopupRecord, gap) == 22);
static_assert(offsetof(NotifyPopupRecord, text) == 24);
static_assert(offsetof(NotifyPopupRecord, style) == 28);
static_assert(offsetof(NotifyPopupRecord, timeout) == 29);
static_assert(offsetof(NotifyPopupRecord, byte30) == 30);
static_assert(offsetof(NotifyPopupRecord, reserved) == 31);
static_assert(offsetof(NotifyPopupRecord, icon) == 32);
static_assert(offsetof(NotifyPopupRecord, action) == 36);
static_assert(offsetof(NotifyPopupRecord, word48) == 48);

}  // namespace vemora
