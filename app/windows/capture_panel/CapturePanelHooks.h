// What a capture panel asks of the main window and of the windows of other groups. The main window
// fills one set for all its panels; an empty hook does nothing (EditCapture then reports Cancel).
#pragma once

#include <functional>

#include "platform/ui/message_target.h"

namespace engine {
class TScreenCapture;
}

namespace app {

struct TCaptureListEntry;

struct TCapturePanelHooks {
    // Every web server of the program stops (false) or every auto-start one starts (true).
    std::function<void(bool start)> StartStopHttpServers;
    // The capture-service editor: loads the job into the editor (name, two-digit index and auto-start
    // from the entry, method choice disabled), shows it modally and, on OK, stores the editor's values
    // into the entry and its job (Name, AutoStart included); enables the method choice again in every
    // case. True on OK.
    std::function<bool(TCaptureListEntry& entry, engine::TScreenCapture& capture)> EditCapture;
    // capture.xml is written from the capture list.
    std::function<void()> SaveCaptureList;
    // The main window's height follows its panels.
    std::function<void()> AdjustHeight;
    // The status bar takes the keyboard focus.
    std::function<void()> FocusStatusBar;
    // The main window's message target: wmCaptureNotify cnDeleteCapture goes there, LParam the entry's Idx.
    platform::WindowHandle MainWindow = 0;
};

}  // namespace app
