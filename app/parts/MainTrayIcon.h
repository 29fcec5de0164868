// Framewick's tray icon: hint "Framewick", the menu "Show/Hide", "Settings", "Exit", a double click
// shows or hides the main window; while it is docked in a tray the main window has no task-bar button.
// Where the desktop has no tray the icon stays away (the tray area logs that once), the main window
// keeps its task-bar button and is never hidden into a tray: it is minimised instead, so it stays
// reachable. A window hidden in a tray that goes away is restored.
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
    bool Docked() const { return icon_->Docked(); }
    // Whether the program's start shows the main window: not while the icon keeps it off the task bar
    // and holds it in a tray.
    bool ShowMainForm() const { return taskbar_->ShowMainForm() || !Docked(); }
    // Hides a shown main window (minimised or not) into the tray while the icon is docked there, else
    // minimises it; restores a hidden one, or a minimised one without a tray, and brings it to the front.
    void ShowHide();
    QMenu& Menu() { return *menu_; }

private:
    void DockChanged();
    void Restore();

    QPointer<QWidget> mainWindow_;
    components::TIconResources resources_;  // before the icon, which keeps a reference
    TTrayMenuActions actions_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<components::TNotifyIcon> icon_;
    components::TQtAppTaskbar* taskbar_;  // owned by the icon
};

}  // namespace app
