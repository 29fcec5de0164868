// The test's view of an X server's screen saver: a private Xvfb whose saver starts after two seconds
// without input (xset s 2), and the saver's state as the server reports it.
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

// A private X server with the short saver timeout set through xset.
class ShortSaverXServer : public PrivateXServer {
public:
    ShortSaverXServer() : PrivateXServer(640, 480) {
        if (ok()) saverSet_ = RunProgram({"xset", "-display", name(), "s", std::to_string(kShortSaverTimeoutS)}) == 0;
    }
    bool ready() const { return ok() && saverSet_; }

    // True while the saver is active (the screen blanked).
    bool SaverOn() const {
        xcb_connection_t* conn = xcb_connect(name().c_str(), nullptr);
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

    // Holds the saver off (as input would) now.
    bool ResetSaver() const { return RunProgram({"xset", "-display", name(), "s", "reset"}) == 0; }

private:
    bool saverSet_ = false;
};

}  // namespace fw_test
