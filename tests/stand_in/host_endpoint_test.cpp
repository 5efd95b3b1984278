// The host's answers, called exactly as the plugin calls them: through the
// control object's operation table, with records in the caller's memory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host_endpoint.h"
#include "recording_events.h"
#include "wire/records.h"

namespace vemora::standin {

namespace {

constexpr uint32_t WISH_MODE = 139015;
constexpr uint32_t OWN_TEXT = 139013;
constexpr uint32_t INFO_MODE = 139014;

class EndpointTest : public ::testing::Test {
protected:
    EndpointTest() {
        model.columns.registerColumn({wire::CONTACT_TABLE, WISH_MODE, ValueKind::Int, 0, "", false});
        model.columns.registerColumn({wire::CONTACT_TABLE, OWN_TEXT, ValueKind::Text, 0, "", false});
        model.columns.registerColumn({wire::CONFIG_TABLE, INFO_MODE, ValueKind::Int, 0, "", false});
        model.columns.registerColumn({wire::CONFIG_TABLE, 139019, ValueKind::Text, 0, "Najlepszego", false});
        for (int i = 0; i < 2; ++i) model.tables.addContact();
        model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_UID, CellValue::ofText("4112001"));
        model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_NET, CellValue::ofInt(7));
    }

    const wire::HostOperations& ops() { return *control->operations; }

    uint32_t request(uint32_t id, uint32_t p1, uint32_t type = 0) {
        wire::MessageRecord record{{sizeof record, id, 0, wire::HOST_NET, type, 0}, p1, 0};
        return ops().sendMessage(control, &record.header);
    }
    uint32_t send(void* record) { return ops().sendMessage(control, static_cast<wire::MessageHeader*>(record)); }
    const char* readText(uint8_t table, int32_t row, uint32_t column, uint32_t size = 0) {
        wire::ValueRecord value{wire::VALUE_TEXT, 0, 0};
        value.extra = size;
        ops().getValue(control, table, row, column, &value);
        return static_cast<const char*>(wire::addressOf(value.value));
    }
    int32_t readInt(uint8_t table, int32_t row, uint32_t column) {
        wire::ValueRecord value{wire::VALUE_INT, 0, 0};
        ops().getValue(control, table, row, column, &value);
        return static_cast<int32_t>(value.value);
    }
    int32_t writeInt(uint8_t table, int32_t row, uint32_t column, int32_t number) {
        wire::ValueRecord value{wire::VALUE_INT, 0, 0};
        value.value = static_cast<uint32_t>(number);
        return ops().setValue(control, table, row, column, &value);
    }
    static wire::UiActionRecord uiRecord(int32_t id, int32_t parent, int32_t contact = -2) {
        wire::UiActionRecord record{};
        record.size = wire::UI_ACTION_SIZE;
        record.action = {id, parent, contact};
        return record;
    }
    void add(int32_t id, int32_t parent, uint32_t status, const char* text, uint32_t param) {
        wire::UiActionRecord record = uiRecord(id, parent);
        record.status = status;
        record.text = wire::wordOf(text);
        record.param = param;
        request(wire::REQ_ACTION_ADD, wire::wordOf(&record));
    }

    HostModel model;
    RecordingEvents events;
    HostEndpoint endpoint{model, events};
    wire::HostControl* control = endpoint.control();
};

TEST_F(EndpointTest, EveryTextReadAnswersAZeroTerminatedText) {
    EXPECT_STREQ(readText(wire::CONTACT_TABLE, 1, wire::CNT_UID), "4112001");
    EXPECT_STREQ(readText(wire::CONTACT_TABLE, 2, wire::CNT_NICK), "");          // never written
    EXPECT_STREQ(readText(wire::CONTACT_TABLE, 0, wire::CNT_DISPLAY_NAME), "");  // row 0 exists, empty
    EXPECT_STREQ(readText(wire::CONFIG_TABLE, 0, 139019), "Najlepszego");  // the column's default
    EXPECT_STREQ(readText(wire::CONTACT_TABLE, 9, wire::CNT_UID), "");           // no such row
    EXPECT_STREQ(readText(wire::CONTACT_TABLE, 1, 424242), "");            // no such column
    EXPECT_EQ(events.warnings.size(), 2u);
    readText(wire::CONTACT_TABLE, 2, 424242);
    EXPECT_EQ(events.warnings.size(), 2u) << "an unknown column is reported once";
}

TEST_F(EndpointTest, IntegerCellReadAsTextIsItsDecimalText) {
    writeInt(wire::CONTACT_TABLE, 1, 139033, -12);
    model.columns.registerColumn({wire::CONTACT_TABLE, 139033, ValueKind::Int, 0, "", false});
    EXPECT_STREQ(readText(wire::CONTACT_TABLE, 1, 139033), "-12");
    EXPECT_STREQ(readText(wire::CONTACT_TABLE, 2, 139033), "0");
    EXPECT_STREQ(readText(wire::CONTACT_TABLE, 1, wire::CNT_NET), "7");
}

TEST_F(EndpointTest, TextAnswerStaysValidWhileThePluginBuildsAMessage) {
    const char* uid = readText(wire::CONTACT_TABLE, 1, wire::CNT_UID);
    const int32_t net = readInt(wire::CONTACT_TABLE, 1, wire::CNT_NET);
    wire::ChatMessage chat{};
    chat.size = sizeof chat;
    chat.net = static_cast<uint32_t>(net);
    const char empty[] = "";
    const char body[] = "Sto lat";
    chat.reservedTextA = chat.reservedTextB = wire::wordOf(empty);
    chat.recipient = wire::wordOf(uid);
    chat.body = wire::wordOf(body);
    EXPECT_EQ(request(wire::REQ_MESSAGE_NEW, wire::wordOf(&chat)), 1u);
    for (size_t i = 0; i + 1 < HostEndpoint::KEPT_ANSWERS; ++i) readText(wire::CONTACT_TABLE, 2, wire::CNT_NICK);
    EXPECT_STREQ(uid, "4112001");
    ASSERT_EQ(events.created.size(), 1u);
    EXPECT_EQ(events.created[0].recipient, "4112001");
    EXPECT_EQ(events.created[0].net, 7u);
}

TEST_F(EndpointTest, ATextReadIntoTheCallersBufferIsCutAndTerminated) {
    char buffer[5];
    std::memset(buffer, 'x', sizeof buffer);
    wire::ValueRecord value{wire::VALUE_TEXT, 0, 0};
    value.value = wire::wordOf(buffer);
    value.extra = sizeof buffer;
    ops().getValue(control, wire::CONTACT_TABLE, 1, wire::CNT_UID, &value);
    EXPECT_EQ(uint32_t{value.value}, wire::wordOf(buffer));  // a copy: the field is packed
    EXPECT_STREQ(buffer, "4112");
}

TEST_F(EndpointTest, WritesAreKeptOnlyInRowsThatExist) {
    EXPECT_EQ(writeInt(wire::CONTACT_TABLE, 2, WISH_MODE, 2), 1);
    EXPECT_EQ(readInt(wire::CONTACT_TABLE, 2, WISH_MODE), 2);
    EXPECT_EQ(writeInt(wire::CONTACT_TABLE, 0, WISH_MODE, 2), 0);
    EXPECT_EQ(writeInt(wire::CONTACT_TABLE, 3, WISH_MODE, 2), 0);
    EXPECT_EQ(model.tables.cell(wire::CONTACT_TABLE, 0, WISH_MODE), nullptr);
    EXPECT_EQ(events.warnings.size(), 2u);
}

TEST_F(EndpointTest, ColumnRegistrationCopiesTheDefaultText) {
    char defaultText[] = "Sto lat";
    wire::ColumnRegisterRecord record{};
    record.header = {sizeof record, wire::REQ_COLUMN_REGISTER, 0, 0, 0, 0};
    record.table = wire::CONTACT_TABLE;
    record.column = 139077;
    record.valueType = wire::VALUE_TEXT;
    record.defaultValue = wire::wordOf(defaultText);
    send(&record);
    defaultText[0] = 'X';
    EXPECT_STREQ(readText(wire::CONTACT_TABLE, 2, 139077), "Sto lat");

    record.table = 5;
    EXPECT_EQ(send(&record), 0u);
    EXPECT_EQ(events.warnings.size(), 1u);
}

TEST_F(EndpointTest, MessageNumbersCountUpAndTheQueueFindsThem) {
    const char empty[] = "";
    wire::ChatMessage chat{};
    chat.size = sizeof chat;
    chat.reservedTextA = chat.recipient = chat.body = chat.reservedTextB = wire::wordOf(empty);
    EXPECT_EQ(request(wire::REQ_MESSAGE_NEW, wire::wordOf(&chat)), 1u);
    EXPECT_EQ(request(wire::REQ_MESSAGE_NEW, wire::wordOf(&chat)), 2u);
    wire::MessageRecord queue{};
    queue.header.size = sizeof queue;
    queue.p1 = 2;
    request(wire::REQ_MESSAGE_QUEUE, wire::wordOf(&queue));
    ASSERT_EQ(events.queued.size(), 1u);
    EXPECT_EQ(events.queued[0].number, 2u);
    EXPECT_FALSE(model.outbox.messages()[0].queued);
    queue.p1 = 9;
    EXPECT_EQ(request(wire::REQ_MESSAGE_QUEUE, wire::wordOf(&queue)), 0u);
    EXPECT_EQ(events.warnings.size(), 1u);

    chat.body = 0;  // the plugin promises never to send a null text
    request(wire::REQ_MESSAGE_NEW, wire::wordOf(&chat));
    EXPECT_EQ(events.warnings.size(), 2u);
}

TEST_F(EndpointTest, CountGroupNoticesAndUnknownRequests) {
    EXPECT_EQ(request(wire::REQ_CONTACT_COUNT, 0, wire::TYPE_QUERY), 2u);
    EXPECT_EQ(request(wire::REQ_BUTTON_GROUP, 0, wire::TYPE_QUERY), BUTTON_GROUP);
    const char text[] = "Dzi\x9C urodziny";
    request(wire::REQ_INFO_BOX, wire::wordOf(text));
    ASSERT_EQ(events.infoBoxes.size(), 1u);
    EXPECT_EQ(events.infoBoxes[0], text);

    wire::NotifyPopupRecord popup{};
    popup.header = {sizeof popup, wire::NOTIFY_SHOW, 0, wire::NOTIFIER_NET, wire::TYPE_QUERY, 0};
    popup.text = wire::wordOf(text);
    popup.timeout = 255;
    popup.icon = 139009;
    send(&popup);
    ASSERT_EQ(events.popups.size(), 1u);
    EXPECT_EQ(events.popups[0].text, text);
    EXPECT_EQ(events.popups[0].timeout, 255);
    EXPECT_EQ(events.popups[0].icon, 139009u);

    EXPECT_EQ(request(4242, 0), 0u);
    EXPECT_EQ(events.warnings.size(), 1u);
}

TEST_F(EndpointTest, StatusChangesOnlyTheMaskedBits) {
    add(139031, 139020, 0xC0002, "\x01", OWN_TEXT);
    wire::UiActionRecord change = uiRecord(139031, 139020);
    change.fieldMask = 1;
    change.status = 0;
    change.statusMask = 2;
    request(wire::REQ_ACTION_SET_STATUS, wire::wordOf(&change));
    EXPECT_EQ(model.ui.find(139031, 139020)->status, 0xC0000u);
    change.status = 0xFFFFFFFF;
    change.fieldMask = 0x40;  // not a status change
    request(wire::REQ_ACTION_SET_STATUS, wire::wordOf(&change));
    EXPECT_EQ(model.ui.find(139031, 139020)->status, 0xC0000u);
    change.action.parent = 5;
    EXPECT_EQ(request(wire::REQ_ACTION_SET_STATUS, wire::wordOf(&change)), 0u);
    EXPECT_EQ(events.warnings.size(), 1u);
}

TEST_F(EndpointTest, ValueOfARadioListIsItsOptionNumberForTheContactOrTheSettings) {
    add(139020, 71, 0x10, "Vemora", 139030);
    add(139032, 139020, 0x16D000, "A\nB\nC", WISH_MODE);
    add(139017, 46, 0x10, "Vemora", 139030);
    add(139099, 139017, 0x165000, "X\nY", INFO_MODE);
    model.tables.set(wire::CONTACT_TABLE, 2, WISH_MODE, CellValue::ofInt(1));
    model.tables.set(wire::CONFIG_TABLE, 0, INFO_MODE, CellValue::ofInt(1));

    wire::UiActionRecord ask = uiRecord(139032, 139020, 2);
    ask.fieldMask = 0x40;
    EXPECT_STREQ(static_cast<const char*>(wire::addressOf(request(wire::REQ_ACTION_GET_VALUE, wire::wordOf(&ask)))), "1");
    ask.action.contact = 1;
    EXPECT_STREQ(static_cast<const char*>(wire::addressOf(request(wire::REQ_ACTION_GET_VALUE, wire::wordOf(&ask)))), "0");
    ask = uiRecord(139099, 139017);
    EXPECT_STREQ(static_cast<const char*>(wire::addressOf(request(wire::REQ_ACTION_GET_VALUE, wire::wordOf(&ask)))), "1");
    ask = uiRecord(1, 2);
    EXPECT_STREQ(static_cast<const char*>(wire::addressOf(request(wire::REQ_ACTION_GET_VALUE, wire::wordOf(&ask)))), "");
    EXPECT_EQ(events.warnings.size(), 1u);
}

TEST_F(EndpointTest, ElementsKeepTheirRecordsFields) {
    wire::UiActionRecord record = uiRecord(0, 139017);
    record.size = wire::UI_ACTION_EXTENDED_SIZE;
    record.status = 0x100000;
    record.half70 = 50;
    record.half76 = 7;
    request(wire::REQ_ACTION_ADD, wire::wordOf(&record));
    ASSERT_EQ(model.ui.elements().size(), 1u);
    const UiElement& separator = model.ui.elements()[0];
    EXPECT_FALSE(separator.text);
    EXPECT_EQ(separator.kind(), ElementKind::Separator);
    EXPECT_EQ(separator.recordSize, wire::UI_ACTION_EXTENDED_SIZE);
    EXPECT_EQ(separator.half70, 50);
    EXPECT_EQ(separator.half76, 7);
}

}  // namespace
}  // namespace vemora::standin
