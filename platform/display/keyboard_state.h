// Whether a key is held down right now, asked of the whole keyboard (not of one window). Keys are named
// by their virtual-key codes (27 is Escape).
#pragma once

#include <cstdint>

namespace platform {

constexpr uint16_t kVirtualKeyEscape = 27;

class TKeyboardState {
public:
    virtual ~TKeyboardState() = default;
    virtual bool IsKeyDown(uint16_t virtualKey) = 0;
};

}  // namespace platform
