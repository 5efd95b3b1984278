#include "outbox.h"

namespace vemora::standin {

uint32_t Outbox::add(OutgoingMessage message) {
    message.number = static_cast<uint32_t>(messages_.size()) + 1;
    message.queued = false;
    messages_.push_back(std::move(message));
    return messages_.back().number;
}

bool Outbox::queue(uint32_t number) {
    if (number == 0 || number > messages_.size()) return false;
    messages_[number - 1].queued = true;
    return true;
}

const OutgoingMessage* Outbox::find(uint32_t number) const {
    if (number == 0 || number > messages_.size()) return nullptr;
    return &messages_[number - 1];
}

}  // namespace vemora::standin
