// The X keyboard state: virtual keys as X key symbols, and keys asked of the whole display.
#include "platform/display/xcb_keyboard_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/test_env.h"

namespace {

TEST(XcbKeyboardState, VirtualKeysMapToKeySymbols) {
    struct Case {
        uint16_t key;
        uint32_t sym;
    } cases[] = {{27, 0xff1b}, {13, 0xff0d}, {'A', 'a'}, {'Z', 'z'}, {'7', '7'}, {0x70, 0xffbe}, {0x7B, 0xffc9}, {0xE5, 0}};
    for (const Case& c : cases) EXPECT_EQ(platform::TXcbKeyboardState::KeySymOf(c.key), c.sym) << c.key;
}

TEST(XcbKeyboardState, NoKeyIsDownOnAnIdleDisplayOrWithoutOne) {
    if (fw_test::HasDisplay()) {
        platform::TXcbKeyboardState keys;
        EXPECT_FALSE(keys.IsKeyDown(27));
        EXPECT_FALSE(keys.IsKeyDown('Q'));
        EXPECT_FALSE(keys.IsKeyDown(0xE5)) << "a key without a symbol";
    }
    const char* display = std::getenv("DISPLAY");
    std::string saved = display ? display : "";
    ::unsetenv("DISPLAY");
    platform::TXcbKeyboardState none;
    EXPECT_FALSE(none.IsKeyDown(27));
    if (display) ::setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
