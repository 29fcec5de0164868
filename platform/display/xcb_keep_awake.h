// Keeping an X display awake: the hold suspends the server's screen saver (and with it its display
// power-saving timer, ScreenSaverSuspend of the MIT-SCREEN-SAVER extension), wakes a display that DPMS
// has already put to sleep, and every Hold resets the server's idle time as input would. Release ends
// the suspension. The server ends it by itself when this client's connection goes, so a program that
// dies while holding leaves the desktop's settings as they were; no setting is ever written.
#pragma once

#include <xcb/xcb.h>

#include <memory>

#include "platform/display/keep_awake.h"

namespace platform {

class TXcbKeepAwake final : public IKeepAwake {
public:
    // Connects to the X server named by displayName (nullptr: $DISPLAY). Without a server, or one
    // without the screen-saver extension, holding does nothing.
    explicit TXcbKeepAwake(const char* displayName = nullptr);
    ~TXcbKeepAwake() override;
    TXcbKeepAwake(const TXcbKeepAwake&) = delete;
    TXcbKeepAwake& operator=(const TXcbKeepAwake&) = delete;

    bool Available() const { return conn_ != nullptr && hasScreenSaver_; }

    void Hold() override;
    void Release() override;
    bool Holding() const override { return holding_; }

private:
    void WakeSleepingDisplay();

    struct ConnectionCloser {
        void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
    };
    std::unique_ptr<xcb_connection_t, ConnectionCloser> conn_;
    bool hasScreenSaver_ = false;
    bool hasDpms_ = false;
    bool holding_ = false;
};

}  // namespace platform
