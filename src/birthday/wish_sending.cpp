#include "birthday/wish_sending.h"

#include <string>
#include <string_view>

#include "birthday/birthday_list.h"
#include "birthday/chat_message.h"
#include "birthday/wish_template.h"
#include "host/host_link.h"
#include "host/request_ids.h"
#include "host/tables.h"
#include "settings/columns.h"

namespace vemora {

namespace {

// Text reads pass no buffer of ours: the templates with size -1, everything
// else with size 0, as the host expects.
constexpr uint32_t TEMPLATE_READ = 0xFFFFFFFFu;
constexpr uint32_t VALUE_READ = 0;

const char* contactText(int32_t row, uint32_t column) { return getContactString(row, column, nullptr, VALUE_READ); }

// A copy of the template the contact's mode selects; any unknown mode gets an
// empty wish, which is still sent.
std::string wishTemplate(int32_t row, int32_t mode) {
    if (mode == WISH_MODE_DEFAULT) return getConfigString(CFG_WISH_TEXT, nullptr, TEMPLATE_READ);
    if (mode == WISH_MODE_OWN) return getContactString(row, CNT_WISH_TEXT, nullptr, TEMPLATE_READ);
    return {};
}

// One contact from the mode read to the last request. The wish, the message
// and the queue record live until that request has returned.
void sendWishTo(int32_t row) {
    const int32_t mode = getContactInt(row, CNT_WISH_MODE);
    if (mode == WISH_MODE_NONE) return;

    ChatMessage message;
    const std::string wish = expandWish(wishTemplate(row, mode), [row](uint32_t column) {
        return std::string_view(contactText(row, column));
    });

    message.flags = CHAT_MESSAGE_FLAGS;
    message.reservedTextA = toWord(EMPTY_TEXT);
    // The host's own text; it stays valid through the next read and the request.
    message.recipient = toWord(contactText(row, CNT_UID));
    message.net = static_cast<uint32_t>(getContactInt(row, CNT_NET));
    message.reservedC = 0;
    message.reservedD = 0;
    message.type = CHAT_MESSAGE_TYPE;
    message.body = toWord(wish.c_str());
    message.reservedTextB = toWord(EMPTY_TEXT);

    MessageRecord queue;
    queue.p1 = sendCoreRequest(REQ_MESSAGE_NEW, toWord(&message), 0);
    // 0 means the host made no message, so there is nothing to queue.
    if (queue.p1 != 0) sendCoreRequest(REQ_MESSAGE_QUEUE, toWord(&queue), 0);
}

}  // namespace

int32_t sendWishes() {
    const BirthdayList& list = birthdayList();
    for (int slot = 0; slot < BIRTHDAY_LIST_SLOTS && list.rows[slot] != 0; ++slot) sendWishTo(list.rows[slot]);
    return 1;
}

}  // namespace vemora
