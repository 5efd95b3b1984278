// The host's side of the conversation: the entry point it calls, the records
// every exchange opens with, and the messages it sends to IMessageProc.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/abi.h"

namespace vemora {

// The library's one export, "_IMessageProc@4" at ordinal 1 of Vemora.dll
// ("IMessageProc" in vemora.so). It takes the address of an incoming record
// that opens with a MessageHeader and answers a 32-bit integer, or the address
// of a static text for the text queries.
using MessageProc = uint32_t(VEMORA_STDCALL*)(const void* record);
extern "C" uint32_t VEMORA_STDCALL IMessageProc(const void* record);

// The plugin's number: its columns, UI elements and icons are 139000 + n.
inline constexpr uint32_t PLUGIN_NET = 139;
// The number every request to the host itself carries in `net`.
inline constexpr uint32_t HOST_NET = 0;

#pragma pack(push, 1)

// Opens every record that crosses the boundary, in either direction.
struct MessageHeader {
    uint16_t size;       // length of the whole record this header opens: 22 bare, 30 with p1 and p2, more for longer records
    uint32_t id;         // the message or request number (MSG_*, REQ_*, NOTIFY_SHOW)
    uint32_t reserved1;  // meaning unknown to the plugin; always sent as 0, never read
    uint32_t net;        // addressee: HOST_NET, or NOTIFIER_NET for the notifier plugin; never read on incoming records
    uint32_t type;       // 0, or TYPE_QUERY where a request says so; never read on incoming records
    uint32_t reserved2;  // meaning unknown to the plugin; always sent as 0, never read

    // A bare header; the records that extend it set `size` to their own length.
    MessageHeader(uint32_t id, uint32_t net, uint32_t type)
        : size(sizeof(MessageHeader)), id(id), reserved1(0), net(net), type(type), reserved2(0) {}
    explicit MessageHeader(uint32_t id) : MessageHeader(id, HOST_NET, 0) {}
};

// A header with two parameter words: most requests, and every incoming message
// of 30 bytes or more. A shorter incoming record carries neither parameter.
struct MessageRecord {
    MessageHeader header;  // size 30
    uint32_t p1;           // an integer, or the address of a record or text, as the id says
    uint32_t p2;           // always sent as 0; never read on incoming records

    // The default state, whose id, net and p1 are all-ones: the queue request
    // sends it with only p1 set.
    MessageRecord() : header(0xFFFFFFFFu, 0xFFFFFFFFu, 0), p1(0xFFFFFFFFu), p2(0) { header.size = sizeof(MessageRecord); }
    MessageRecord(uint32_t id, uint32_t net, uint32_t type, uint32_t p1, uint32_t p2)
        : header(id, net, type), p1(p1), p2(p2) { header.size = sizeof(MessageRecord); }
};

// Names one user-interface action of the host; stands by value inside the UI
// records, the notifier popup and the chat message.
struct ActionRef {
    int32_t id;       // the action's own id (the plugin's are 139000 + n), 0 for none
    int32_t parent;   // id of the group or page that holds it, 0 for none
    int32_t contact;  // contact row the action concerns, or NO_CONTACT

    static constexpr int32_t NO_CONTACT = -2;

    // The reset value: no action, no contact. Arguments come in field order.
    ActionRef() : id(0), parent(0), contact(NO_CONTACT) {}
    ActionRef(int32_t id, int32_t parent, int32_t contact = NO_CONTACT) : id(id), parent(parent), contact(contact) {}
};

#pragma pack(pop)

static_assert(sizeof(MessageHeader) == 22);
static_assert(offsetof(MessageHeader, size) == 0);
static_assert(offsetof(MessageHeader, id) == 2);
static_assert(offsetof(MessageHeader, reserved1) == 6);
static_assert(offsetof(MessageHeader, net) == 10);
static_assert(offsetof(MessageHeader, type) == 14);
static_assert(offsetof(MessageHeader, reserved2) == 18);

static_assert(sizeof(MessageRecord) == 30);
static_assert(offsetof(MessageRecord, header) == 0);
static_assert(offsetof(MessageRecord, p1) == 22);
static_assert(offsetof(MessageRecord, p2) == 26);

static_assert(sizeof(ActionRef) == 12);
static_assert(offsetof(ActionRef, id) == 0);
static_assert(offsetof(ActionRef, parent) == 4);
static_assert(offsetof(ActionRef, contact) == 8);

// Messages the host sends to IMessageProc, with what the plugin answers.
inline constexpr uint32_t MSG_INIT = 20001;            // p1: the HostControl to keep; answer 1
inline constexpr uint32_t MSG_DEINIT = 20002;          // nothing changes; answer 1
inline constexpr uint32_t MSG_QUERY_20020 = 20020;     // meaning unknown to the plugin; answer 2
inline constexpr uint32_t MSG_SETCOLUMNS = 21001;      // register the settings columns; answer 1
inline constexpr uint32_t MSG_UI_PREPARE = 22000;      // add icons, pages and buttons; answer 1
inline constexpr uint32_t MSG_START = 22100;           // the host has started: today's notice; answer 1
inline constexpr uint32_t MSG_UI_ACTION = 22200;       // p1: an ActionNotifyRecord; answer 0
inline constexpr uint32_t MSG_INFO_NET = 30010;        // answer PLUGIN_NET
inline constexpr uint32_t MSG_INFO_TYPE = 30011;       // answer PLUGIN_TYPE
inline constexpr uint32_t MSG_INFO_VERSION = 30012;    // answer the address of the version text
inline constexpr uint32_t MSG_INFO_SIGNATURE = 30013;  // answer the address of "Vem"
inline constexpr uint32_t MSG_INFO_NAME = 30016;       // answer the address of "Vemora"
inline constexpr uint32_t MSG_INFO_30017 = 30017;      // meaning unknown to the plugin; answer 0, no error

// The answer to MSG_INFO_TYPE; what it means is the host's.
inline constexpr uint32_t PLUGIN_TYPE = 145;

// The one error the plugin reports (setError): a message id it does not handle.
inline constexpr int32_t ERROR_UNHANDLED_MESSAGE = 1;

}  // namespace vemora
