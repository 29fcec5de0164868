// Framewick's tray icon: hint "Framewick", the menu "Show/Hide", "Settings", "Exit", a double click
// shows or hides the main window; while it is in the tray the main window has no task-bar button.
// Where the desktop has no tray the icon stays away (the tray area logs that once).
#pragma once

#include <QMenu>
#include <QPointer>
#include <functional>
#include <memory>

#include "components/IconResources.h"
#include "components/NotifyIcon.h"
#include "components/QtAppTaskbar.h"

namespace app {

struct TTrayMenuActions {
    std::function<void()> ShowHide;
    std::function<void()> Settings;
    std::function<void()> Exit;
};

class TMainTrayIcon {
public:
    TMainTrayIcon(QWidget* mainWindow, TTrayMenuActions actions);
    ~TMainTrayIcon();

    void SetShown(bool on);
    bool Shown() const { return icon_->Notify(); }
    // Whether the program's start shows the main window: not while the icon keeps it off the task bar.
    bool ShowMainForm() const { return taskbar_->ShowMainForm(); }
    QMenu& Menu() { return *menu_; }

private:
    components::TIconResources resources_;  // before the icon, which keeps a reference
    TTrayMenuActions actions_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<components::TNotifyIcon> icon_;
    components::TQtAppTaskbar* taskbar_;  // owned by the icon
};

// Hides a visible window; restores a hidden one and brings it to the front.
void ToggleWindowShown(QWidget& window);

}  // namespace app
