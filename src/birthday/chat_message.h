// One outgoing chat message, handed to the host by address with REQ_MESSAGE_NEW.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/host_link.h"
#include "host/records.h"

namespace vemora {

// The values a wish is sent with; what they mean is the host's affair.
inline constexpr uint32_t CHAT_MESSAGE_TYPE = 1;
inline constexpr uint32_t CHAT_MESSAGE_FLAGS = 2;

#pragma pack(push, 1)

struct ChatMessage {
    uint16_t size;           // 58
    uint32_t reservedA;      // 0
    uint32_t net;            // the recipient contact's net
    uint32_t type;           // CHAT_MESSAGE_TYPE once filled
    uint32_t reservedTextA;  // text pointer, the empty text
    uint32_t recipient;      // text pointer, the contact's identifier
    uint32_t body;           // text pointer, the message text
    uint32_t reservedTextB;  // text pointer, the empty text
    uint32_t flags;          // CHAT_MESSAGE_FLAGS once filled
    ActionRef action;        // no action: id 0, parent 0, contact -2
    uint32_t reservedB;
    uint32_t reservedC;
    uint32_t reservedD;

    // The default state: no text pointer is ever null, they all start empty.
    ChatMessage()
        : size(sizeof(ChatMessage)),
          reservedA(0),
          net(0),
          type(0),
          reservedTextA(toWord(EMPTY_TEXT)),
          recipient(toWord(EMPTY_TEXT)),
          body(toWord(EMPTY_TEXT)),
          reservedTextB(toWord(EMPTY_TEXT)),
          flags(0),
          action(),
          reservedB(0),
          reservedC(0),
          reservedD(0) {}
};

#pragma pack(pop)

static_assert(sizeof(ChatMessage) == 58);
static_assert(offsetof(ChatMessage, size) == 0);
static_assert(offsetof(ChatMessage, reservedA) == 2);
static_assert(offsetof(ChatMessage, net) == 6);
static_assert(offsetof(ChatMessage, type) == 10);
static_assert(offsetof(ChatMessage, reservedTextA) == 14);
static_assert(offsetof(ChatMessage, recipient) == 18);
static_assert(offsetof(ChatMessage, body) == 22);
static_assert(offsetof(ChatMessage, reservedTextB) == 26);
static_assert(offsetof(ChatMessage, flags) == 30);
static_assert(offsetof(ChatMessage, action) == 34);
static_assert(offsetof(ChatMessage, reservedB) == 46);
static_assert(offsetof(ChatMessage, reservedC) == 50);
static_assert(offsetof(ChatMessage, reservedD) == 54);

}  // namespace vemora
