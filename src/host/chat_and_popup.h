// The two records that carry texts to people: the birthday wish as a chat
// message for the host to send, and the notice as a popup of the notifier
// plugin Zanthor, which travels through the host's sendMessage.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/abi.h"
#include "host/host_control.h"
#include "host/messages.h"

namespace vemora {

// The notifier plugin and its one message the plugin sends.
inline constexpr uint32_t NOTIFIER_NET = 774;
inline constexpr uint32_t NOTIFY_SHOW = 774201;

// The popup's timeout byte; what the numbers mean is the notifier's.
inline constexpr uint8_t POPUP_TIMEOUT_INITIAL = 1;      // kept for a CFG_NOTIFY_HIDE the plugin does not know
inline constexpr uint8_t POPUP_TIMEOUT_FEW_SECONDS = 5;  // NOTIFY_HIDE_AFTER_A_FEW_SECONDS
inline constexpr uint8_t POPUP_TIMEOUT_ON_CLICK = 255;   // NOTIFY_HIDE_ON_CLICK

// What a wish is sent with; what the values mean is the host's.
inline constexpr uint32_t CHAT_MESSAGE_TYPE = 1;
inline constexpr uint32_t CHAT_MESSAGE_FLAGS = 2;

#pragma pack(push, 1)

// REQ_MESSAGE_NEW's p1: one outgoing chat message. The host reads it and every
// text it points to before the contact's last request returns.
struct ChatMessage {
    uint16_t size;           // 58
    uint32_t reservedA;      // meaning unknown to the plugin; always sent as 0
    uint32_t net;            // the recipient's network (its CNT_NET)
    uint32_t type;           // CHAT_MESSAGE_TYPE once filled; 0 by default
    uint32_t reservedTextA;  // a text pointer, meaning unknown to the plugin; always the empty text
    uint32_t recipient;      // the recipient's CNT_UID text, the host's own; the empty text by default
    uint32_t body;           // the message text; the empty text by default
    uint32_t reservedTextB;  // a text pointer, meaning unknown to the plugin; always the empty text
    uint32_t flags;          // CHAT_MESSAGE_FLAGS once filled; 0 by default
    ActionRef action;        // meaning unknown to the plugin; always no action (0, 0, NO_CONTACT)
    uint32_t reservedB;      // meaning unknown to the plugin; always sent as 0
    uint32_t reservedC;      // meaning unknown to the plugin; always sent as 0
    uint32_t reservedD;      // meaning unknown to the plugin; always sent as 0

    // The default state: no text pointer is ever null, they all start empty.
    ChatMessage()
        : size(sizeof(ChatMessage)), reservedA(0), net(0), type(0), reservedTextA(toWord(EMPTY_TEXT)),
          recipient(toWord(EMPTY_TEXT)), body(toWord(EMPTY_TEXT)), reservedTextB(toWord(EMPTY_TEXT)), flags(0),
          action(), reservedB(0), reservedC(0), reservedD(0) {}
};

// NOTIFY_SHOW, sent through sendMessage to NOTIFIER_NET: show one popup.
struct NotifyPopupRecord {
    MessageHeader header;  // NOTIFY_SHOW to NOTIFIER_NET, type TYPE_QUERY; size 52
    uint16_t half22;       // not assigned by the protocol; sent as 0 so no stale stack bytes travel
    uint32_t text;         // address of the zero-terminated text to show; "<b>" sets off names and ages
    uint8_t byte28;        // meaning unknown to the plugin; bits 0-3 always 0, bits 4-7 the builder's value (0)
    uint8_t timeout;       // POPUP_TIMEOUT_*: how long the popup stays
    uint8_t byte30;        // meaning unknown to the plugin; always sent as 0
    uint8_t byte31;        // not assigned by the protocol; sent as 0
    uint32_t icon;         // the host icon id shown beside the text (ICON_BIRTHDAYS)
    ActionRef action;      // meaning unknown to the plugin; always no action (0, 0, NO_CONTACT)
    uint32_t word48;       // meaning unknown to the plugin; always sent as 0

    // The builder: the text, the icon, the 4-bit value for the high half of
    // byte28 (its upper bits are dropped) and the initial timeout.
    NotifyPopupRecord(const char* popupText, uint32_t iconId, uint32_t styleHigh, uint8_t initialTimeout)
        : header(NOTIFY_SHOW, NOTIFIER_NET, TYPE_QUERY), half22(0), text(toWord(popupText)),
          byte28(static_cast<uint8_t>((styleHigh & 0x0Fu) << 4)), timeout(initialTimeout), byte30(0), byte31(0),
          icon(iconId), action(), word48(0) {
        header.size = sizeof(NotifyPopupRecord);
    }
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

static_assert(sizeof(NotifyPopupRecord) == 52);
static_assert(offsetof(NotifyPopupRecord, header) == 0);
static_assert(offsetof(NotifyPopupRecord, half22) == 22);
static_assert(offsetof(NotifyPopupRecord, text) == 24);
static_assert(offsetof(NotifyPopupRecord, byte28) == 28);
static_assert(offsetof(NotifyPopupRecord, timeout) == 29);
static_assert(offsetof(NotifyPopupRecord, byte30) == 30);
static_assert(offsetof(NotifyPopupRecord, byte31) == 31);
static_assert(offsetof(NotifyPopupRecord, icon) == 32);
static_assert(offsetof(NotifyPopupRecord, action) == 36);
static_assert(offsetof(NotifyPopupRecord, word48) == 48);

}  // namespace vemora
