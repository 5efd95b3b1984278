// The stand-in's answers, through its control as the plugin calls it: a text
// it answers lives exactly as long as the plugin may rely on it, a read into
// the plugin's own buffer is cut to fit, a cell of no row or column is
// nothing and said so, and the elements the plugin adds answer with the cell
// they are bound to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "endpoint.h"

namespace vemora::standin {
namespace {

class RecordedEvents : public HostEvents {
public:
    void messageCreated(const OutgoingMessage& message) override { created.push_back(message); }
    void warning(const std::string& text) override { warnings.push_back(text); }

    std::vector<OutgoingMessage> created;
    std::vector<std::string> warnings;
};

const char* textAt(uint32_t address) { return static_cast<const char*>(wire::addressOf(address)); }

class Endpoint : public ::testing::Test {
protected:
    Endpoint() {
        model.tables.addContact();
        model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_UID, CellValue::ofText("7001"));
        model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_DISPLAY_NAME, CellValue::ofText("Anna"));
        model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_BIRTH_DATE, CellValue::ofInt(-5));
    }

    // One getValue as the plugin makes it; `answer` keeps what it returned.
    wire::ValueRecord read(uint32_t table, int32_t row, uint32_t column, uint16_t type, uint32_t value = 0,
                           uint32_t extra = 0) {
        wire::ValueRecord record{type, value, extra};
        answer = static_cast<uint32_t>(control->operations->getValue(control, table, row, column, &record));
        return record;
    }
    // A request whose p1 is the address of `payload`.
    template <class Payload>
    uint32_t request(uint32_t id, const Payload& payload) {
        wire::MessageRecord record{};
        record.header = {sizeof record, id, 0, wire::HOST_NET, 0, 0};
        record.p1 = wire::wordOf(&payload);
        return control->operations->sendMessage(control, &record.header);
    }
    wire::UiActionRecord element(int32_t id, uint32_t status, uint32_t column, const char* text) {
        wire::UiActionRecord record{};
        record.size = wire::UI_ACTION_SIZE;
        record.action = {id, wire::UI_PARENT_CONTACT_INFO, wire::NO_CONTACT};
        record.fieldMask = wire::FIELDS_ADD;
        record.status = status;
        record.text = wire::wordOf(text);
        record.param = column;
        return record;
    }

    HostModel model;
    RecordedEvents events;
    HostEndpoint endpoint{model, events, "no plugin is loaded here"};
    wire::HostControl* control = endpoint.control();
    uint32_t answer = 0;
};

TEST_F(Endpoint, AnAnsweredTextLivesUntilThePluginsNextCallAndAUidUntilItsMessageIsMade) {
    const char* name = textAt(read(wire::CONTACT_TABLE, 1, wire::CNT_DISPLAY_NAME, wire::VALUE_TEXT).value);
    EXPECT_STREQ(name, "Anna");
    const char* uid = textAt(read(wire::CONTACT_TABLE, 1, wire::CNT_UID, wire::VALUE_TEXT).value);
    EXPECT_STREQ(name, "####") << "the plugin called in again: the name is no longer its to read";
    read(wire::CONTACT_TABLE, 1, wire::CNT_BIRTH_DATE, wire::VALUE_INT);
    EXPECT_STREQ(uid, "7001") << "a wish carries the uid it read last";

    wire::ChatMessage chat{};
    chat.size = sizeof chat;
    chat.net = 1;
    chat.type = wire::CHAT_MESSAGE_TYPE;
    chat.reservedTextA = chat.reservedTextB = wire::wordOf("");
    chat.recipient = wire::wordOf(uid);
    chat.body = wire::wordOf("Sto lat");
    chat.flags = wire::CHAT_MESSAGE_FLAGS;
    chat.action = {0, 0, wire::NO_CONTACT};
    EXPECT_EQ(request(wire::REQ_MESSAGE_NEW, chat), 1u);
    ASSERT_EQ(events.created.size(), 1u);
    EXPECT_EQ(events.created[0].recipient, "7001");
    EXPECT_STREQ(uid, "####") << "the message is made: the uid has served";
    EXPECT_TRUE(events.warnings.empty()) << events.warnings.front();
}

TEST_F(Endpoint, ReadsAnswerTheCellAsAskedAndIntoThePluginsOwnBufferCutToFit) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    read(wire::CONTACT_TABLE, 1, wire::CNT_DISPLAY_NAME, wire::VALUE_TEXT, wire::wordOf(buffer), sizeof buffer);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("Ann\0", 4));
    const wire::ValueRecord wide = read(wire::CONTACT_TABLE, 1, wire::CNT_BIRTH_DATE, wire::VALUE_INT64);
    const uint32_t low = wide.value, high = wide.extra;  // copies: the record is packed
    EXPECT_EQ(low, 0xFFFFFFFBu);
    EXPECT_EQ(high, 0xFFFFFFFFu) << "the high word of -5";
    EXPECT_STREQ(textAt(read(wire::CONTACT_TABLE, 1, wire::CNT_BIRTH_DATE, wire::VALUE_TEXT).value), "-5");
    EXPECT_EQ(answer, 1u);

    // Nothing in a row that does not exist, or a column nobody registered;
    // row 0 of the contacts reads as empty, and nothing is written there.
    EXPECT_STREQ(textAt(read(wire::CONTACT_TABLE, 2, wire::CNT_DISPLAY_NAME, wire::VALUE_TEXT).value), "");
    EXPECT_EQ(answer, 0u);
    const uint32_t empty = read(wire::CONTACT_TABLE, 0, wire::CNT_BIRTH_DATE, wire::VALUE_INT).value;
    EXPECT_EQ(empty, 0u);
    EXPECT_EQ(answer, 1u);
    wire::ValueRecord written{wire::VALUE_INT, 3, 0};
    EXPECT_EQ(control->operations->setValue(control, wire::CONTACT_TABLE, 0, wire::CNT_AGE, &written), 0);
    read(wire::CONFIG_TABLE, 0, 4242, wire::VALUE_INT);
    read(wire::CONFIG_TABLE, 0, 4242, wire::VALUE_INT);
    EXPECT_EQ(events.warnings, (std::vector<std::string>{"getValue: no row 2 in the contact table",
                                                         "setValue: no row 0 in the contact table",
                                                         "getValue: column 4242 of the config table is not registered"}));
}

TEST_F(Endpoint, AddedElementsChangeStatusByMaskAndAnswerWithTheirBoundCell) {
    model.columns.registerColumn({wire::CONTACT_TABLE, wire::CNT_WISH_MODE, ValueKind::Int, 0, "", false});
    model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_WISH_MODE, CellValue::ofInt(2));
    const uint32_t radioList = wire::ELEMENT_KIND_RADIO_LIST << wire::ELEMENT_KIND_SHIFT;
    EXPECT_EQ(request(wire::REQ_ACTION_ADD, element(77, radioList, wire::CNT_WISH_MODE, "A\nB\nC")), 1u);

    wire::UiActionRecord change = element(77, wire::STATUS_DISABLED | 0x4, 0, nullptr);
    change.fieldMask = wire::FIELDS_STATUS;
    change.statusMask = wire::STATUS_DISABLED;
    EXPECT_EQ(request(wire::REQ_ACTION_SET_STATUS, change), 1u);
    ASSERT_EQ(model.ui.elements().size(), 1u);
    EXPECT_EQ(model.ui.elements()[0].status, radioList | wire::STATUS_DISABLED) << "only the masked bits change";

    // Its value for contact 1 is that contact's cell, as text.
    wire::UiActionRecord asked = element(77, 0, 0, nullptr);
    asked.action.contact = 1;
    asked.fieldMask = wire::FIELDS_VALUE;
    EXPECT_STREQ(textAt(request(wire::REQ_ACTION_GET_VALUE, asked)), "2");
    char buffer[2] = {'x', 'x'};
    asked.text = wire::wordOf(buffer);
    asked.textSize = sizeof buffer;
    EXPECT_EQ(request(wire::REQ_ACTION_GET_VALUE, asked), wire::wordOf(buffer));
    EXPECT_EQ(std::string(buffer, 2), std::string("2\0", 2));
    EXPECT_TRUE(events.warnings.empty()) << events.warnings.front();
}

}  // namespace
}  // namespace vemora::standin
