// The messages the tray icon receives from the notification area and from its drop window, with the
// platform's numbers: the mouse messages, the files dropped on the drop window and the mouse entering
// and leaving it.
#pragma once

#include <cstdint>

namespace components::tray_message {

inline constexpr uint32_t kMouseMove = 0x200;
inline constexpr uint32_t kLButtonDown = 0x201;
inline constexpr uint32_t kLButtonDblClk = 0x203;
inline constexpr uint32_t kRButtonDown = 0x204;
inline constexpr uint32_t kRButtonDblClk = 0x206;
inline constexpr uint32_t kDropFiles = 0x233;
inline constexpr uint32_t kMouseEnter = 0xB013;
inline constexpr uint32_t kMouseLeave = 0xB014;

}  // namespace components::tray_message
