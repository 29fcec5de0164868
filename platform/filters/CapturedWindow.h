// The window a window capture shows, followed by the screen-capture filter itself from picture to
// picture: only that window's pixels are ever read. While it is hidden (unmapped, minimised, hidden into
// a tray), gone or not found, nothing of the screen is read and the picture is black, so the rest of
// the desktop never goes out, whatever the job's own once-a-second watcher has seen so far. A window
// that has just come on screen still holds what lay there before until it (and the window manager's
// frame around it) has drawn itself: it is read only after kDrawnWithinMs.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/display/display.h"

namespace platform {

constexpr int kDrawnWithinMs = 500;

class TCapturedWindow {
public:
    using TClock = std::chrono::steady_clock;

    TCapturedWindow(std::string className, std::string caption);

    // The names the capture was started with, as the capture record carries them: a text longer than
    // its field arrives cut, so windows are compared by as much of their names as the field holds.
    const std::string& NamedClass() const { return namedClass_; }
    const std::string& NamedCaption() const { return namedCaption_; }

    // The part of the window's rectangle on the desktop that is shown (cut to the window manager's
    // frame as it stands); none while it is hidden, gone, not found or not yet drawn. A window keeps being followed
    // while it exists; only when it is gone is the top-most shown window of its names taken instead.
    // Its names follow the window's own, as the capture job's do, so both find the same window again.
    std::optional<TRect> ShownRect(IDisplay& display);
    // Asked again after the pixels were read: a window hidden meanwhile makes the picture black.
    bool StillShown(IDisplay& display);

private:
    const std::string namedClass_;
    const std::string namedCaption_;
    std::string className_;
    std::string caption_;
    WindowId window_ = kNoWindow;
    std::optional<TClock::time_point> shownSince_;  // since when the window is on screen without a break
};

}  // namespace platform
