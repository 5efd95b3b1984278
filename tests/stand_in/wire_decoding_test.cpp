// The host side's reading of the plugin's requests (one decoder for every
// host we write) and the lifetime of the texts a strict host answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "wire/answered_texts.h"
#include "wire/requests.h"

namespace vemora::wire {
namespace {

MessageRecord request(uint32_t id, const void* p1, uint16_t size = sizeof(MessageRecord)) {
    return {{size, id, 0, HOST_NET, 0, 0}, wordOf(p1), 0};
}

ChatMessage chatTo(const char* recipient, const char* body) {
    static const char empty[] = "";
    ChatMessage chat{};
    chat.size = sizeof chat;
    chat.net = 7;
    chat.reservedTextA = chat.reservedTextB = wordOf(empty);
    chat.recipient = wordOf(recipient);
    chat.body = wordOf(body);
    return chat;
}

TEST(RequestDecoding, TheRecordWhatP1PointsToAndEveryTextAreCopiedAtTheCall) {
    char uid[] = "4112001";
    const ChatMessage chat = chatTo(uid, "Sto lat");
    const MessageRecord record = request(REQ_MESSAGE_NEW, &chat);
    const Request decoded = decodeRequest(&record);
    uid[0] = 'X';  // the plugin's text changes or goes once the call is over

    EXPECT_TRUE(decoded.faults.empty());
    ASSERT_NE(decoded.carriage, nullptr);
    EXPECT_EQ(decoded.name(), "REQ_MESSAGE_NEW");
    ASSERT_TRUE(decoded.p1Record && decoded.p1Record->complete());
    EXPECT_EQ(uint32_t{decoded.p1Record->as<ChatMessage>().net}, 7u);  // a copy: the field is packed
    EXPECT_EQ(decoded.p1Record->text(offsetof(ChatMessage, recipient)), "4112001");
    EXPECT_EQ(decoded.p1Record->text(offsetof(ChatMessage, body)), "Sto lat");
    EXPECT_EQ(decoded.p1Record->texts.size(), 4u);
}

TEST(RequestDecoding, FaultsSayWhatARequestBreaksAndReadNoFurtherThanItsKind) {
    auto faultOf = [](const void* record) {
        const Request decoded = decodeRequest(record);
        return decoded.faults.empty() ? std::string("none") : decoded.faults.front();
    };
    ChatMessage chat = chatTo("1", "");
    chat.body = 0;
    MessageRecord record = request(REQ_MESSAGE_NEW, &chat);
    EXPECT_EQ(faultOf(&record), "REQ_MESSAGE_NEW: ChatMessage body is a null pointer");
    record.p1 = 0;
    EXPECT_EQ(faultOf(&record), "REQ_MESSAGE_NEW without its ChatMessage");

    // A size word that claims more than the kind holds: only the kind is read.
    uint8_t longer[200] = {};
    chat = chatTo("1", "2");
    std::memcpy(longer, &chat, sizeof chat);
    const uint16_t claimed = sizeof longer;
    std::memcpy(longer, &claimed, sizeof claimed);
    record = request(REQ_MESSAGE_NEW, longer);
    const Request decoded = decodeRequest(&record);
    EXPECT_EQ(decoded.faults.at(0), "REQ_MESSAGE_NEW: a ChatMessage of 200 bytes instead of 58");
    EXPECT_EQ(decoded.p1Record->bytes.size(), sizeof(ChatMessage));

    UiActionRecord element{};
    element.size = 60;
    record = request(REQ_ACTION_SET_STATUS, &element);
    EXPECT_EQ(faultOf(&record), "REQ_ACTION_SET_STATUS: a UiActionRecord of 60 bytes instead of 74 or 78");
    EXPECT_FALSE(decodeRequest(&record).p1Record->complete());

    record = request(REQ_INFO_BOX, "Dziś", 22);
    EXPECT_EQ(faultOf(&record), "REQ_INFO_BOX in 22 bytes carries no parameters");
    record = request(REQ_INFO_BOX, "x", 12);
    EXPECT_EQ(faultOf(&record), "a record of 12 bytes, shorter than a header");
    record = request(4242, nullptr);
    EXPECT_EQ(faultOf(&record), "none");
    EXPECT_EQ(decodeRequest(&record).carriage, nullptr);
}

TEST(RequestDecoding, AColumnsDefaultIsATextOnlyInATextColumn) {
    ColumnRegisterRecord column{{sizeof column, REQ_COLUMN_REGISTER, 0, HOST_NET, 0, 0}, CONFIG_TABLE, 139019,
                                VALUE_TEXT, wordOf("Najlepszego"), 0};
    EXPECT_EQ(decodeRequest(&column).record.text(offsetof(ColumnRegisterRecord, defaultValue)), "Najlepszego");
    column.valueType = VALUE_INT;
    column.defaultValue = 5;  // a number, never followed
    EXPECT_TRUE(decodeRequest(&column).record.texts.empty());
}

TEST(AnsweredTexts, ATextExpiresAtThePluginsNextCallAndAUidOnceItsMessageIsMade) {
    AnsweredTexts texts(AnsweredTexts::OnExpiry::Overwrite);
    const OperationCall read(OperationCall::Kind::GetValue);
    OperationCall messageNew(OperationCall::Kind::SendMessage);
    messageNew.request.id = REQ_MESSAGE_NEW;

    texts.begin();
    const char* name = texts.answerCell(CONTACT_TABLE, CNT_DISPLAY_NAME, "Ewa");
    const char* uid = texts.answerCell(CONTACT_TABLE, CNT_UID, "5001");
    texts.end(read);
    EXPECT_STREQ(name, "Ewa");
    texts.begin();  // the CNT_NET read
    EXPECT_STREQ(name, "###");
    texts.end(read);
    texts.begin();
    EXPECT_STREQ(uid, "5001");
    texts.end(messageNew);
    EXPECT_STREQ(uid, "####");
}

}  // namespace
}  // namespace vemora::wire
