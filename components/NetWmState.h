// The states a window asks the window manager for on X11 (_NET_WM_STATE): while the window is mapped
// the request goes to the manager as a client message to the root window; an unmapped window carries
// them in its own property, which the manager reads when the window is mapped. Other platforms have
// no such states: the calls then do nothing and answer false.
#pragma once

class QWidget;

namespace components {

class TNetWmState {
public:
    // _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER together: no task-bar button.
    static bool SetSkipTaskbar(QWidget& window, bool skip);
};

}  // namespace components
