// Requests the plugin sends to the host (and the notifier's show message).
#pragma once

#include <cstdint>

namespace vemora {

inline constexpr uint32_t REQ_MESSAGE_NEW = 100;
inline constexpr uint32_t REQ_MESSAGE_QUEUE = 101;
inline constexpr uint32_t REQ_CONTACT_COUNT = 201;
inline constexpr uint32_t REQ_COLUMN_REGISTER = 1102;
inline constexpr uint32_t REQ_ACTION_ADD = 10101;
inline constexpr uint32_t REQ_ACTION_GET_VALUE = 10106;
inline constexpr uint32_t REQ_ACTION_SET_STATUS = 10108;
inline constexpr uint32_t REQ_BUTTON_GROUP = 10119;
inline constexpr uint32_t REQ_ICON_REGISTER = 10130;
inline constexpr uint32_t REQ_INFO_BOX = 10204;

// Addressed to the notifier plugin rather than the host.
inline constexpr uint32_t NOTIFIER_NET = 774;
inline constexpr uint32_t NOTIFY_SHOW = 774201;

// The "type" word of requests that ask the host for something.
inline constexpr uint32_t TYPE_QUERY = 0xFFFFFFFFu;

}  // namespace vemora
