#include "entry/dispatch.h"

#include <cstring>

#include "birthday/birthday_list.h"
#include "birthday/birthday_notice.h"
#include "entry/identity.h"
#include "entry/message_ids.h"
#include "host/host_link.h"
#include "host/records.h"
#include "settings/action_handling.h"
#include "settings/columns.h"
#include "settings/ui_setup.h"

namespace vemora {

namespace {

// What the plugin reads of an incoming record. The host's record may sit at
// any address, so it is copied out rather than read through a packed pointer.
struct Incoming {
    uint32_t id = 0;
    bool hasParameters = false;  // only a record of 30 bytes or more carries p1 and p2
    uint32_t p1 = 0;
};

Incoming decode(const void* record) {
    const auto* bytes = static_cast<const unsigned char*>(record);
    Incoming in;
    uint16_t size = 0;
    std::memcpy(&size, bytes + offsetof(MessageHeader, size), sizeof size);
    std::memcpy(&in.id, bytes + offsetof(MessageHeader, id), sizeof in.id);
    if (size >= sizeof(MessageRecord)) {
        in.hasParameters = true;
        std::memcpy(&in.p1, bytes + offsetof(MessageRecord, p1), sizeof in.p1);
    }
    return in;
}

uint32_t textAnswer(const char* text) { return toWord(text); }

}  // namespace

uint32_t dispatchMessage(const void* record) {
    if (record == nullptr) return 0;
    const Incoming in = decode(record);

    switch (in.id) {
        case MSG_INIT:
            if (!in.hasParameters) return 0;  // no control object to keep
            setHostControl(reinterpret_cast<HostControl*>(static_cast<uintptr_t>(in.p1)));
            return 1;
        case MSG_DEINIT:
            return 1;
        case MSG_QUERY_20020:
            return 2;
        case MSG_INFO_NET:
            return PLUGIN_NET;
        case MSG_INFO_TYPE:
            return PLUGIN_TYPE;
        case MSG_INFO_VERSION:
            return textAnswer(PLUGIN_VERSION_TEXT);
        case MSG_INFO_SIGNATURE:
            return textAnswer(PLUGIN_SIGNATURE);
        case MSG_INFO_NAME:
            return textAnswer(PLUGIN_NAME);
        case MSG_INFO_30017:
            return 0;
        default:
            break;
    }

    // Everything below talks to the host; before MSG_INIT there is nobody to
    // talk to, so the usual answer is given without doing the work.
    const bool connected = hasHostControl();
    switch (in.id) {
        case MSG_SETCOLUMNS:
            return connected ? static_cast<uint32_t>(setupColumns()) : 1;
        case MSG_UI_PREPARE:
            return connected ? static_cast<uint32_t>(setupUi()) : 1;
        case MSG_START:
            if (connected) showBirthdayNotice(NOTICE_POPUP);
            return 1;
        case MSG_UI_ACTION:
            if (connected && in.hasParameters && in.p1 != 0) {
                return static_cast<uint32_t>(
                    handleAction(reinterpret_cast<const ActionNotifyRecord*>(static_cast<uintptr_t>(in.p1))));
            }
            return 0;
        default:
            if (connected) setError(ERROR_UNHANDLED_MESSAGE);
            return 0;
    }
}

void resetPluginState() {
    setHostControl(nullptr);
    resetBirthdayList();
}

}  // namespace vemora
