#include "platform/display/xcb_keep_awake.h"

#include <xcb/dpms.h>
#include <xcb/screensaver.h>

#include <cstdlib>

namespace platform {

namespace {

bool HasExtension(xcb_connection_t* conn, xcb_extension_t* extension) {
    const xcb_query_extension_reply_t* data = xcb_get_extension_data(conn, extension);
    return data != nullptr && data->present;
}

}  // namespace

TXcbKeepAwake::TXcbKeepAwake(const char* displayName) {
    xcb_connection_t* conn = xcb_connect(displayName, nullptr);
    if (xcb_connection_has_error(conn)) {
        xcb_disconnect(conn);
        return;
    }
    conn_.reset(conn);
    hasScreenSaver_ = HasExtension(conn, &xcb_screensaver_id);
    hasDpms_ = HasExtension(conn, &xcb_dpms_id);
}

TXcbKeepAwake::~TXcbKeepAwake() { Release(); }

void TXcbKeepAwake::Hold() {
    if (!Available()) return;
    if (!holding_) {
        xcb_screensaver_suspend(conn_.get(), 1);
        WakeSleepingDisplay();
        holding_ = true;
    }
    xcb_force_screen_saver(conn_.get(), XCB_SCREEN_SAVER_RESET);
    xcb_flush(conn_.get());
}

void TXcbKeepAwake::Release() {
    if (!holding_) return;
    holding_ = false;
    xcb_screensaver_suspend(conn_.get(), 0);
    xcb_flush(conn_.get());
}

void TXcbKeepAwake::WakeSleepingDisplay() {
    if (!hasDpms_) return;
    xcb_dpms_info_reply_t* info = xcb_dpms_info_reply(conn_.get(), xcb_dpms_info(conn_.get()), nullptr);
    if (info != nullptr && info->state && info->power_level != XCB_DPMS_DPMS_MODE_ON)
        xcb_dpms_force_level(conn_.get(), XCB_DPMS_DPMS_MODE_ON);
    std::free(info);
}

}  // namespace platform
