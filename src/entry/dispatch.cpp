#include "entry/dispatch.h"

#include "birthday/birthday_list.h"
#include "birthday/operations.h"
#include "host/abi.h"
#include "host/host_link.h"
#include "host/messages.h"
#include "host/ui_records.h"
#include "settings/handlers.h"
#include "vemora_version.h"

namespace vemora {

namespace {

// The identity texts: static, so the host gets the same address every time.
const char PLUGIN_VERSION_TEXT[] = VEMORA_VERSION_TEXT;
const char PLUGIN_SIGNATURE[] = "Vem";
const char PLUGIN_NAME[] = "Vemora";

// What the plugin reads of an incoming record: size and id always, p1 only
// from a record of 30 bytes or more.
struct Incoming {
    uint32_t id = 0;
    bool hasParameters = false;
    uint32_t p1 = 0;
};

Incoming decode(const void* record) {
    const bool hasParameters = copyRecord<uint16_t>(record) >= sizeof(MessageRecord);
    const auto message =
        copyRecord<MessageRecord>(record, hasParameters ? sizeof(MessageRecord) : offsetof(MessageHeader, reserved1));
    return {message.header.id, hasParameters, message.p1};
}

}  // namespace

uint32_t dispatchMessage(const void* record) {
    if (record == nullptr) return 0;
    const Incoming in = decode(record);

    switch (in.id) {
        case MSG_INIT:
            if (!in.hasParameters) return 0;  // no control object to keep
            setHostControl(fromWord<HostControl>(in.p1));
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
            return toWord(PLUGIN_VERSION_TEXT);
        case MSG_INFO_SIGNATURE:
            return toWord(PLUGIN_SIGNATURE);
        case MSG_INFO_NAME:
            return toWord(PLUGIN_NAME);
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
            if (connected) setupColumns();
            return 1;
        case MSG_UI_PREPARE:
            if (connected) setupUi();
            return 1;
        case MSG_START:
            if (connected) showBirthdayNotice(NOTICE_POPUP);
            return 1;
        case MSG_UI_ACTION:
            if (connected && in.hasParameters && in.p1 != 0) handleAction(fromWord<const ActionNotifyRecord>(in.p1));
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
