// The program's presence on the taskbar: whether its main window shows at start and whether it has a
// taskbar button.
#pragma once

namespace components {

class TAppTaskbar {
public:
    virtual ~TAppTaskbar() = default;
    virtual void SetShowMainForm(bool show) = 0;
    virtual void SetTaskbarButton(bool shown) = 0;
};

}  // namespace components
