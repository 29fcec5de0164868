// The taskbar presence of the program's main window. Without a taskbar button the window becomes a
// tool window, which desktops leave off the taskbar; its visibility and place stay as they were.
#pragma once

#include <QPointer>
#include <QWidget>

#include "components/AppTaskbar.h"

namespace components {

class TQtAppTaskbar : public TAppTaskbar {
public:
    explicit TQtAppTaskbar(QWidget* mainWindow = nullptr) : mainWindow_(mainWindow) {}

    void SetMainWindow(QWidget* mainWindow);
    // Read by the program's start before it shows the main window.
    bool ShowMainForm() const { return showMainForm_; }

    void SetShowMainForm(bool show) override { showMainForm_ = show; }
    void SetTaskbarButton(bool shown) override;

private:
    void Apply();

    QPointer<QWidget> mainWindow_;
    bool showMainForm_ = true;
    bool taskbarButton_ = true;
};

}  // namespace components
