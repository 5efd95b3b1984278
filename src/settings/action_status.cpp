#include "settings/action_status.h"

#include "host/host_link.h"
#include "host/request_ids.h"
#include "settings/ui_action_record.h"

namespace vemora {

void setActionStatus(const ActionRef& action, uint32_t status, uint32_t mask) {
    UiActionRecord record(action);
    record.fieldMask = FIELDS_STATUS;
    record.status = status;
    record.statusMask = mask;
    sendCoreRequest(REQ_ACTION_SET_STATUS, toWord(&record), 0);
}

const char* getActionValue(const ActionRef& action, char* buffer, uint32_t size) {
    UiActionRecord record(action);
    record.fieldMask = FIELDS_VALUE;
    record.text = toWord(buffer);
    record.textSize = size;
    const uint32_t answer = sendCoreRequest(REQ_ACTION_GET_VALUE, toWord(&record), 0);
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(answer));
    return text != nullptr ? text : EMPTY_TEXT;
}

}  // namespace vemora
