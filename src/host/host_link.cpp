#include "host/host_link.h"

#include "host/tables.h"

namespace vemora {

const char EMPTY_TEXT[1] = {0};

namespace {

constinit HostControl* currentControl = nullptr;

const HostOperations& ops() { return *currentControl->operations; }

const char* readText(uint8_t table, int32_t row, uint32_t column, uint32_t bufferSize) {
    ValueRecord record(VALUE_TEXT);
    record.extra = bufferSize;
    ops().getValue(currentControl, table, row, column, &record);
    const char* text = fromWord<const char>(record.value);
    return text != nullptr ? text : EMPTY_TEXT;
}

int32_t readInt(uint8_t table, int32_t row, uint32_t column) {
    ValueRecord record(VALUE_INT);
    ops().getValue(currentControl, table, row, column, &record);
    return static_cast<int32_t>(record.value);
}

}  // namespace

void setHostControl(HostControl* control) { currentControl = control; }
bool hasHostControl() { return currentControl != nullptr; }

uint32_t sendMessage(MessageHeader* record) { return ops().sendMessage(currentControl, record); }
void* getPluginModule() { return ops().getPluginModule(currentControl); }
void setError(int32_t code) { ops().setError(currentControl, code); }

uint32_t sendRequest(uint32_t id, uint32_t net, uint32_t type, uint32_t p1, uint32_t p2) {
    MessageRecord record(id, net, type, p1, p2);
    return sendMessage(&record.header);
}

uint32_t sendCoreRequest(uint32_t id, uint32_t p1, uint32_t p2) { return sendRequest(id, HOST_NET, 0, p1, p2); }

int32_t getConfigInt(uint32_t column) { return readInt(CONFIG_TABLE, CONFIG_ROW, column); }

const char* getConfigString(uint32_t column, uint32_t bufferSize) {
    return readText(CONFIG_TABLE, CONFIG_ROW, column, bufferSize);
}

int32_t getContactInt(int32_t row, uint32_t column) { return readInt(CONTACT_TABLE, row, column); }

const char* getContactString(int32_t row, uint32_t column, uint32_t bufferSize) {
    return readText(CONTACT_TABLE, row, column, bufferSize);
}

int32_t setContactInt(int32_t row, uint32_t column, int32_t value) {
    ValueRecord record(VALUE_INT);
    record.value = static_cast<uint32_t>(value);
    return ops().setValue(currentControl, CONTACT_TABLE, row, column, &record);
}

int32_t registerColumn(uint8_t table, uint32_t column, uint32_t valueType, const char* defaultText) {
    ColumnRegisterRecord record(table, column, valueType, toWord(defaultText));
    return static_cast<int32_t>(sendMessage(&record.header));
}

}  // namespace vemora
