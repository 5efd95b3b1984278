#include "settings/ui_requests.h"

#include "host/abi.h"
#include "host/host_control.h"
#include "host/host_link.h"
#include "host/ui_records.h"

namespace vemora {

namespace {

void describe(UiActionRecord& record, uint32_t status, const char* text, uint32_t param, uint16_t half70,
              uint16_t half72, uint32_t word66, uint32_t word58) {
    record.word14 = 0xFFFFFFFFu;
    record.fieldMask = FIELDS_ADD;
    record.status = status;
    record.statusMask = STATUS_ALL_BITS;
    record.text = toWord(text);
    record.param = param;
    record.word66 = word66;
    record.word58 = word58;
    record.half70 = half70;
    record.half72 = half72;
}

ActionRef element(uint32_t parent, uint32_t id) { return {static_cast<int32_t>(id), static_cast<int32_t>(parent)}; }

}  // namespace

void addAction(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param, uint16_t half70,
               uint16_t half72, uint32_t word66, uint32_t word58) {
    UiActionRecord record(element(parent, id));
    describe(record, status, text, param, half70, half72, word66, word58);
    sendCoreRequest(REQ_ACTION_ADD, toWord(&record), 0);
}

void addActionEx(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param, uint16_t half70,
                 uint16_t half72, uint32_t word66, uint32_t word58) {
    UiActionRecordEx record(element(parent, id));
    describe(record.base, status, text, param, half70, half72, word66, word58);
    sendCoreRequest(REQ_ACTION_ADD, toWord(&record), 0);
}

void addGroup(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param) {
    addAction(parent, id, status | STATUS_GROUP, text, param);
}

uint32_t getButtonGroup() { return sendRequest(REQ_BUTTON_GROUP, HOST_NET, TYPE_QUERY, 0, 0); }

void registerIcon(uint32_t iconId, void* module, uint32_t resource) {
    IconRegisterRecord record;
    record.iconId = iconId;
    record.module = toWord(module);
    record.resource = resource;
    sendCoreRequest(REQ_ICON_REGISTER, toWord(&record), 0);
}

void setActionStatus(const ActionRef& action, uint32_t status, uint32_t mask) {
    UiActionRecord record(action);
    record.fieldMask = FIELDS_STATUS;
    record.status = status;
    record.statusMask = mask;
    sendCoreRequest(REQ_ACTION_SET_STATUS, toWord(&record), 0);
}

const char* getActionValue(const ActionRef& action) {
    UiActionRecord record(action);
    record.fieldMask = FIELDS_VALUE;  // no buffer of ours: text and textSize stay 0
    const char* text = fromWord<const char>(sendCoreRequest(REQ_ACTION_GET_VALUE, toWord(&record), 0));
    return text != nullptr ? text : EMPTY_TEXT;
}

}  // namespace vemora
