// A window manager that never moves a window: it maps what asks to be mapped and carries out the size
// of a configure request, but keeps every window where it is, answering a move it refuses with the
// window's unchanged place as ICCCM says (a synthetic ConfigureNotify). It frames nothing and offers
// no EWMH requests. It runs on a thread and a connection of its own until the object goes.
#pragma once

#include <poll.h>
#include <xcb/xcb.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

namespace fw_test {

class MoveRefusingWindowManager {
public:
    explicit MoveRefusingWindowManager(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(c_)) return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const uint32_t mask[] = {XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
        xcb_generic_error_t* error =
            xcb_request_check(c_, xcb_change_window_attributes_checked(c_, root_, XCB_CW_EVENT_MASK, mask));
        if (error) {  // another window manager holds the screen
            std::free(error);
            return;
        }
        thread_ = std::thread([this] { Run(); });
    }
    ~MoveRefusingWindowManager() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        xcb_disconnect(c_);
    }
    MoveRefusingWindowManager(const MoveRefusingWindowManager&) = delete;
    MoveRefusingWindowManager& operator=(const MoveRefusingWindowManager&) = delete;

    bool ok() const { return thread_.joinable(); }

private:
    void Run() {
        pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
        while (!stop_ && !xcb_connection_has_error(c_)) {
            ::poll(&fd, 1, 50);
            while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
                Handle(event);
                std::free(event);
            }
            xcb_flush(c_);
        }
    }
    void Handle(const xcb_generic_event_t* event) {
        switch (event->response_type & 0x7F) {
            case XCB_MAP_REQUEST:
                xcb_map_window(c_, reinterpret_cast<const xcb_map_request_event_t*>(event)->window);
                break;
            case XCB_CONFIGURE_REQUEST:
                Configure(*reinterpret_cast<const xcb_configure_request_event_t*>(event));
                break;
            default: break;
        }
    }
    // The size, border and stacking asked for; never the place.
    void Configure(const xcb_configure_request_event_t& e) {
        uint16_t mask = 0;
        uint32_t values[5];
        int n = 0;
        const auto take = [&](uint16_t part, uint32_t value) {  // in the order of the parts' bits
            if (!(e.value_mask & part)) return;
            mask |= part;
            values[n++] = value;
        };
        take(XCB_CONFIG_WINDOW_WIDTH, e.width);
        take(XCB_CONFIG_WINDOW_HEIGHT, e.height);
        take(XCB_CONFIG_WINDOW_BORDER_WIDTH, e.border_width);
        take(XCB_CONFIG_WINDOW_SIBLING, e.sibling);
        take(XCB_CONFIG_WINDOW_STACK_MODE, e.stack_mode);
        if (mask) xcb_configure_window(c_, e.window, mask, values);
        xcb_get_geometry_reply_t* now = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, e.window), nullptr);
        if (!now) return;
        xcb_configure_notify_event_t notify{};
        notify.response_type = XCB_CONFIGURE_NOTIFY;
        notify.event = e.window;
        notify.window = e.window;
        notify.x = now->x;
        notify.y = now->y;
        notify.width = now->width;
        notify.height = now->height;
        notify.border_width = now->border_width;
        std::free(now);
        xcb_send_event(c_, 0, e.window, XCB_EVENT_MASK_STRUCTURE_NOTIFY, reinterpret_cast<const char*>(&notify));
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace fw_test
