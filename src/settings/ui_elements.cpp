#include "settings/ui_elements.h"

#include "host/host_link.h"
#include "host/request_ids.h"
#include "settings/ui_action_record.h"
#include "settings/ui_ids.h"

namespace vemora {

namespace {

void describe(UiActionRecord& record, uint32_t status, const char* text, uint32_t param, uint16_t sizeA,
              uint16_t sizeB, uint32_t extraA, uint32_t extraB) {
    record.word14 = 0xFFFFFFFFu;
    record.fieldMask = FIELDS_ADD;
    record.status = status;
    record.statusMask = STATUS_ALL_BITS;
    record.text = toWord(text);
    record.param = param;
    record.extraA = extraA;
    record.extraB = extraB;
    record.sizeA = sizeA;
    record.sizeB = sizeB;
}

}  // namespace

void addAction(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param, uint16_t sizeA,
               uint16_t sizeB, uint32_t extraA, uint32_t extraB) {
    UiActionRecord record(ActionRef(static_cast<int32_t>(parent), static_cast<int32_t>(id)));
    describe(record, status, text, param, sizeA, sizeB, extraA, extraB);
    sendCoreRequest(REQ_ACTION_ADD, toWord(&record), 0);
}

void addActionEx(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param, uint16_t sizeC,
                 uint16_t sizeD, uint16_t sizeA, uint16_t sizeB, uint32_t extraA, uint32_t extraB) {
    UiActionRecordEx record(ActionRef(static_cast<int32_t>(parent), static_cast<int32_t>(id)));
    describe(record.base, status, text, param, sizeA, sizeB, extraA, extraB);
    record.sizeC = sizeC;
    record.sizeD = sizeD;
    sendCoreRequest(REQ_ACTION_ADD, toWord(&record), 0);
}

void addGroup(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param) {
    addAction(parent, id, status | STATUS_GROUP, text, param);
}

uint32_t getButtonGroup() { return sendRequest(REQ_BUTTON_GROUP, 0, TYPE_QUERY, 0, 0); }

}  // namespace vemora
