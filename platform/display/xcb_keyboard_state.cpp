#include "platform/display/xcb_keyboard_state.h"

#include <cstdlib>

namespace platform {
namespace {

template <typename T>
struct TFreeReply {
    void operator()(T* reply) const { std::free(reply); }
};
template <typename T>
using TReply = std::unique_ptr<T, TFreeReply<T>>;

}  // namespace

TXcbKeyboardState::TXcbKeyboardState() {
    if (!std::getenv("DISPLAY")) return;
    connection_.reset(xcb_connect(nullptr, nullptr));
    if (connection_ && xcb_connection_has_error(connection_.get())) connection_.reset();
}

uint32_t TXcbKeyboardState::KeySymOf(uint16_t virtualKey) {
    if (virtualKey >= '0' && virtualKey <= '9') return virtualKey;
    if (virtualKey >= 'A' && virtualKey <= 'Z') return virtualKey + ('a' - 'A');
    if (virtualKey >= 0x70 && virtualKey <= 0x7B) return 0xffbe + (virtualKey - 0x70);  // F1..F12
    switch (virtualKey) {
        case 0x08: return 0xff08;  // Backspace
        case 0x09: return 0xff09;  // Tab
        case 0x0D: return 0xff0d;  // Return
        case 0x1B: return 0xff1b;  // Escape
        case 0x20: return 0x0020;  // Space
        default: return 0;
    }
}

const std::vector<xcb_keycode_t>& TXcbKeyboardState::KeyCodesOf(uint32_t keySym) {
    auto found = keyCodes_.find(keySym);
    if (found != keyCodes_.end()) return found->second;
    std::vector<xcb_keycode_t>& codes = keyCodes_[keySym];
    const xcb_setup_t* setup = xcb_get_setup(connection_.get());
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    TReply<xcb_get_keyboard_mapping_reply_t> map(xcb_get_keyboard_mapping_reply(
        connection_.get(), xcb_get_keyboard_mapping(connection_.get(), xcb_keycode_t(first), uint8_t(count)),
        nullptr));
    if (!map) return codes;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perCode = map->keysyms_per_keycode;
    for (int code = 0; code < count; ++code)
        for (int i = 0; i < perCode; ++i)
            if (syms[code * perCode + i] == keySym) {
                codes.push_back(xcb_keycode_t(first + code));
                break;
            }
    return codes;
}

bool TXcbKeyboardState::IsKeyDown(uint16_t virtualKey) {
    std::lock_guard lock(mutex_);
    const uint32_t keySym = KeySymOf(virtualKey);
    if (!connection_ || keySym == 0) return false;
    const std::vector<xcb_keycode_t>& codes = KeyCodesOf(keySym);
    if (codes.empty()) return false;
    TReply<xcb_query_keymap_reply_t> keys(
        xcb_query_keymap_reply(connection_.get(), xcb_query_keymap(connection_.get()), nullptr));
    if (!keys) return false;
    for (xcb_keycode_t code : codes)
        if (keys->keys[code / 8] & (1u << (code % 8))) return true;
    return false;
}

}  // namespace platform
