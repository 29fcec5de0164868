// The window a window capture shows, followed by the screen-capture filter itself from picture to
// picture: only that window's pixels are ever read. While it is hidden (unmapped, minimised, hidden into
// a tray), gone or not found, nothing of the screen is read and the picture is black, so the rest of
// the desktop never goes out, whatever the job's own once-a-second watcher has seen so far.
#pragma once

#include <optional>
#include <string>

#include "platform/display/display.h"

namespace platform {

class TCapturedWindow {
public:
    TCapturedWindow(std::string className, std::string caption);

    const std::string& ClassName() const { return className_; }
    const std::string& Caption() const { return caption_; }

    // The part of the window's rectangle on the desktop that is shown (cut to the window manager's
    // frame as it stands); none while it is hidden, gone or not found. A window keeps being followed while it exists; only when it is gone is the top-most shown
    // window of the class and caption taken instead.
    std::optional<TRect> ShownRect(IDisplay& display);
    // Asked again after the pixels were read: a window hidden meanwhile makes the picture black.
    bool StillShown(IDisplay& display);

private:
    std::string className_;
    std::string caption_;
    WindowId window_ = kNoWindow;
};

}  // namespace platform
