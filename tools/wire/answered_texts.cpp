#include "wire/answered_texts.h"

#include <cstring>

namespace vemora::wire {

void AnsweredTexts::begin() { expire(true); }

void AnsweredTexts::end(const OperationCall& call) {
    if (call.kind == OperationCall::Kind::SendMessage && call.request.id == REQ_MESSAGE_NEW) expire(false);
}

const char* AnsweredTexts::answerCell(uint32_t table, uint32_t column, std::string_view text) {
    return keep(text, table == CONTACT_TABLE && column == CNT_UID);
}

const char* AnsweredTexts::answerValue(std::string_view text) { return keep(text, false); }

void AnsweredTexts::expireAll() { expire(false); }

const char* AnsweredTexts::keep(std::string_view text, bool untilMessageNew) {
    // A buffer of exactly the text's length: a read past its end is a read
    // past the allocation.
    Kept kept;
    kept.bytes = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(kept.bytes.get(), text.data(), text.size());
    kept.bytes[text.size()] = '\0';
    kept.length = text.size();
    kept.untilMessageNew = untilMessageNew;
    live_.push_back(std::move(kept));
    return live_.back().bytes.get();
}

void AnsweredTexts::expire(bool keepUids) {
    std::vector<Kept> stillValid;
    for (Kept& kept : live_) {
        if (keepUids && kept.untilMessageNew) {
            stillValid.push_back(std::move(kept));
            continue;
        }
        std::memset(kept.bytes.get(), EXPIRED, kept.length);
        if (onExpiry_ == OnExpiry::Overwrite) overwritten_.push_back(std::move(kept.bytes));
    }
    live_ = std::move(stillValid);
}

}  // namespace vemora::wire
