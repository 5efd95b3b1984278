// A host that keeps every call the plugin makes, in order, with copies of the
// records and of the texts they point to taken at the moment of the call (the
// plugin's records live only for the call). Its tables and answers are set up
// by the test. The texts it answers are valid exactly as long as the plugin
// may rely on them: once one expires it is overwritten, so a plugin that kept
// it too long sends visibly wrong bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "wire/answered_texts.h"
#include "wire/host_binding.h"
#include "wire/ids.h"

namespace vemora::testing {

struct HostCall {
    using Kind = wire::OperationCall::Kind;
    Kind kind{};

    // A ValueRecord as the host read it, unpacked so that tests can compare
    // its fields directly.
    struct Value {
        uint16_t type = 0;
        uint32_t value = 0;
        uint32_t extra = 0;

        static Value of(const wire::ValueRecord* record);
    };

    int32_t errorCode = 0;  // SetError

    // GetValue and SetValue.
    uint32_t table = 0;
    int32_t row = 0;
    uint32_t column = 0;
    Value given;     // as the plugin handed it over
    Value returned;  // as the host left it (GetValue)

    // SendMessage: the record itself, and for requests whose p1 is the address
    // of a record, that record's bytes too; the texts either points to, by the
    // offset of the pointer (nullopt: a null pointer).
    std::vector<uint8_t> record;
    std::vector<uint8_t> payload;
    std::map<uint16_t, std::optional<std::string>> recordTexts;
    std::map<uint16_t, std::optional<std::string>> payloadTexts;

    uint32_t answer = 0;

    bool isMessage(uint32_t id) const { return kind == Kind::SendMessage && messageId() == id; }
    bool isRead(uint32_t tableNo, uint32_t col) const {
        return kind == Kind::GetValue && table == tableNo && column == col;
    }
    uint32_t messageId() const { return recordWord(2); }
    uint16_t recordSize() const { return read<uint16_t>(record, 0); }

    uint32_t recordWord(size_t offset) const { return read<uint32_t>(record, offset); }
    uint16_t recordHalf(size_t offset) const { return read<uint16_t>(record, offset); }
    uint8_t recordByte(size_t offset) const { return read<uint8_t>(record, offset); }
    uint32_t payloadWord(size_t offset) const { return read<uint32_t>(payload, offset); }
    uint16_t payloadHalf(size_t offset) const { return read<uint16_t>(payload, offset); }
    std::optional<std::string> recordText(uint16_t offset) const { return find(recordTexts, offset); }
    std::optional<std::string> payloadText(uint16_t offset) const { return find(payloadTexts, offset); }

private:
    template <class T>
    static T read(const std::vector<uint8_t>& bytes, size_t offset) {
        T value{};
        if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
        return value;
    }
    static std::optional<std::string> find(const std::map<uint16_t, std::optional<std::string>>& texts,
                                           uint16_t offset);
};

class FakeHost {
public:
    FakeHost() = default;
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    wire::HostControl* control() { return binding_.control(); }
    const std::vector<HostCall>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }

    // The calls of one kind, or the messages with one id, in order.
    std::vector<HostCall> messages(uint32_t id) const;
    std::vector<HostCall> messages() const;
    std::vector<HostCall> ofKind(HostCall::Kind kind) const;

    // Table contents. A text read of an int cell answers its decimal text.
    void setInt(uint8_t table, int32_t row, uint32_t column, int32_t value);
    void setText(uint8_t table, int32_t row, uint32_t column, const std::string& text);
    // Text reads of this cell are answered with a null pointer.
    void setNullText(uint8_t table, int32_t row, uint32_t column);
    std::optional<int32_t> intAt(uint8_t table, int32_t row, uint32_t column) const;

    // Answers to requests. Unless set, REQ_CONTACT_COUNT answers contactCount,
    // REQ_BUTTON_GROUP answers buttonGroup, REQ_MESSAGE_NEW answers 1, 2, 3, ...,
    // REQ_ACTION_GET_VALUE answers actionValue (null when unset) and everything
    // else 0.
    int32_t contactCount = 0;
    uint32_t buttonGroup = 5000;
    std::optional<std::string> actionValue;
    uint32_t pluginModule = 0x10000000;
    int32_t setValueAnswer = 1;
    // Runs first for every message; an answer it returns wins over the defaults.
    std::function<std::optional<uint32_t>(const HostCall&)> answer;

    // Every call of the plugin's, through the binding.
    uint32_t onOperation(wire::OperationCall& call);

private:
    struct Cell {
        std::optional<int32_t> number;
        std::optional<std::string> text;
        bool nullText = false;
    };
    using Key = std::tuple<uint32_t, int32_t, uint32_t>;

    uint32_t onMessage(HostCall& call, const wire::Request& request);
    void onGetValue(HostCall& call, wire::ValueRecord* value);
    uint32_t onSetValue(HostCall& call);

    wire::HostBinding<FakeHost> binding_{*this};
    wire::AnsweredTexts texts_{wire::AnsweredTexts::OnExpiry::Overwrite};
    std::vector<HostCall> calls_;
    std::map<Key, Cell> cells_;
    uint32_t nextMessageNumber_ = 1;
};

}  // namespace vemora::testing
