// The keyboard state of the X display: a key counts as held down when one of the key codes that produce
// its symbol is pressed. Without a display no key is ever down.
#pragma once

#include <xcb/xcb.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/display/keyboard_state.h"

namespace platform {

class TXcbKeyboardState final : public TKeyboardState {
public:
    TXcbKeyboardState();
    bool IsKeyDown(uint16_t virtualKey) override;

    // The X key symbol of a virtual-key code (0 for a code without one).
    static uint32_t KeySymOf(uint16_t virtualKey);

private:
    struct TDisconnect {
        void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
    };
    const std::vector<xcb_keycode_t>& KeyCodesOf(uint32_t keySym);

    std::mutex mutex_;
    std::unique_ptr<xcb_connection_t, TDisconnect> connection_;
    std::map<uint32_t, std::vector<xcb_keycode_t>> keyCodes_;
};

}  // namespace platform
