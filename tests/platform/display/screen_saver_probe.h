// The test's view of an X server's screen saver: a saver that starts after two seconds without input
// (xset s 2), on any X server or on a private Xvfb of its own, and the saver's state as the server
// reports it.
#pragma once

#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "tests/support/PrivateXServer.h"
#include "tests/support/test_env.h"

namespace fw_test {

inline constexpr int kShortSaverTimeoutS = 2;

// Sets the saver of display (":N") to start after kShortSaverTimeoutS seconds without input.
inline bool SetShortSaver(const std::string& display) {
    return RunProgram({"xset", "-display", display, "s", std::to_string(kShortSaverTimeoutS)}) == 0;
}

// True while the saver of display is active (the screen blanked).
inline bool SaverOn(const std::string& display) {
    xcb_connection_t* conn = xcb_connect(display.c_str(), nullptr);
    bool on = false;
    if (!xcb_connection_has_error(conn)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
        xcb_screensaver_query_info_reply_t* info =
            xcb_screensaver_query_info_reply(conn, xcb_screensaver_query_info(conn, root), nullptr);
        on = info != nullptr && info->state == XCB_SCREENSAVER_STATE_ON;
        std::free(info);
    }
    xcb_disconnect(conn);
    return on;
}

// Holds the saver of display off (as input would) now.
inline bool ResetSaver(const std::string& display) {
    return RunProgram({"xset", "-display", display, "s", "reset"}) == 0;
}

// A private X server with the short saver timeout set.
class ShortSaverXServer : public PrivateXServer {
public:
    ShortSaverXServer() : PrivateXServer(640, 480) { saverSet_ = ok() && SetShortSaver(name()); }
    bool ready() const { return ok() && saverSet_; }
    bool SaverOn() const { return fw_test::SaverOn(name()); }
    bool ResetSaver() const { return fw_test::ResetSaver(name()); }

private:
    bool saverSet_ = false;
};

}  // namespace fw_test
