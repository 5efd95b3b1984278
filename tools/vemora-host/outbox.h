// The chat messages a plugin has handed the host, and which of them it has
// asked the host to send (the queue).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vemora::standin {

struct OutgoingMessage {
    uint32_t number = 0;  // what REQ_MESSAGE_NEW answered: 1, 2, 3, ...
    uint32_t net = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    std::string recipient;  // code page 1250
    std::string body;       // code page 1250
    bool queued = false;
};

class Outbox {
public:
    // Keeps a copy and returns its number, never 0.
    uint32_t add(OutgoingMessage message);
    // Queues the message with this number; false when there is none.
    bool queue(uint32_t number);
    const std::vector<OutgoingMessage>& messages() const { return messages_; }
    const OutgoingMessage* find(uint32_t number) const;

private:
    std::vector<OutgoingMessage> messages_;
};

}  // namespace vemora::standin
