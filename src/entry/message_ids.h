// Messages the host sends to IMessageProc.
#pragma once

#include <cstdint>

namespace vemora {

inline constexpr uint32_t MSG_INIT = 20001;
inline constexpr uint32_t MSG_DEINIT = 20002;
inline constexpr uint32_t MSG_QUERY_20020 = 20020;
inline constexpr uint32_t MSG_SETCOLUMNS = 21001;
inline constexpr uint32_t MSG_UI_PREPARE = 22000;
inline constexpr uint32_t MSG_START = 22100;
inline constexpr uint32_t MSG_UI_ACTION = 22200;
inline constexpr uint32_t MSG_INFO_NET = 30010;
inline constexpr uint32_t MSG_INFO_TYPE = 30011;
inline constexpr uint32_t MSG_INFO_VERSION = 30012;
inline constexpr uint32_t MSG_INFO_SIGNATURE = 30013;
inline constexpr uint32_t MSG_INFO_NAME = 30016;
inline constexpr uint32_t MSG_INFO_30017 = 30017;

// The only error the plugin reports: a message id it does not handle.
inline constexpr int32_t ERROR_UNHANDLED_MESSAGE = 1;

}  // namespace vemora
