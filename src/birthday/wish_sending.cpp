#include <string_view>

#include "birthday/birthday_list.h"
#include "birthday/operations.h"
#include "birthday/wish_template.h"
#include "host/chat_and_popup.h"
#include "host/host_control.h"
#include "host/host_link.h"
#include "host/tables.h"

namespace vemora {

namespace {

const char* contactText(int32_t row, uint32_t column) { return getContactString(row, column, TEXT_READ_VALUE); }

// The template the contact's mode selects, the host's own text (the expansion
// copies it first); any unknown mode gets an empty wish, still sent.
std::string_view wishTemplate(int32_t row, int32_t mode) {
    if (mode == WISH_MODE_DEFAULT) return getConfigString(CFG_WISH_TEXT, TEXT_READ_TEMPLATE);
    if (mode == WISH_MODE_OWN) return getContactString(row, CNT_WISH_TEXT, TEXT_READ_TEMPLATE);
    return {};
}

// One contact from the mode read to the last request. The wish, the message
// and the queue record live until that request has returned.
void sendWishTo(int32_t row) {
    const int32_t mode = getContactInt(row, CNT_WISH_MODE);
    if (mode == WISH_MODE_NONE) return;

    const ByteText wish = expandWish(wishTemplate(row, mode), [row](uint32_t column) noexcept {
        return std::string_view(contactText(row, column));
    });
    // Without memory for the whole wish this contact gets none, rather than
    // a wish cut short; the next contact is handled as usual.
    if (wish.failed()) return;

    // The default holds the empty texts and zeros already; these are the changes.
    ChatMessage message;
    message.flags = CHAT_MESSAGE_FLAGS;
    // The host's own text, which the host keeps valid until the request below
    // has returned: the one text the plugin holds across calls.
    message.recipient = toWord(contactText(row, CNT_UID));
    message.net = static_cast<uint32_t>(getContactInt(row, CNT_NET));
    message.type = CHAT_MESSAGE_TYPE;
    message.body = toWord(wish.c_str());

    MessageRecord queue;
    queue.p1 = sendCoreRequest(REQ_MESSAGE_NEW, toWord(&message), 0);
    // 0 means the host made no message, so there is nothing to queue.
    if (queue.p1 != 0) sendCoreRequest(REQ_MESSAGE_QUEUE, toWord(&queue), 0);
}

}  // namespace

void sendWishes() {
    // A copy: the host may call in again during a request (a send loop pumps
    // the user's clicks) and rebuild the list; the round goes on with the
    // contacts it started with. Its terminating 0, always within its slots,
    // ends the walk.
    const BirthdayList list = birthdayList();
    for (int slot = 0; list.rows[slot] != 0; ++slot) sendWishTo(list.rows[slot]);
}

}  // namespace vemora
