// Keeps the main window inside the work area of its monitor as it grows: moved up (and left) as far
// as it needs first, then as tall as it wants where the area leaves room, else cut to the area (its
// panels then scroll). After every move, the user's, the window manager's or one the window manager
// did not carry out, the window is cut to the room left below its top as the X server has it, and
// grows back up to the height it wants when it is moved up again: nothing of it stays off the screen.
// A window manager's frame counts with the window; it is read afresh when it changes.
#pragma once

#include <QRect>
#include <QWidget>
#include <functional>

#include "app/windows/base/FrameWatch.h"

namespace app {

class TWorkAreaFit {
public:
    // active: whether the window shows its panels (not in compact mode); leastHeight: the client
    // height below which it is never cut (its bars).
    TWorkAreaFit(QWidget& window, std::function<bool()> active, std::function<int()> leastHeight);
    TWorkAreaFit(const TWorkAreaFit&) = delete;
    TWorkAreaFit& operator=(const TWorkAreaFit&) = delete;

    // The client height that holds everything: moves the window into the area, then sizes it.
    void Fit(int wantedHeight);
    // The height after a move: cut to the room below the window's top, never below the least height.
    void FitBelowTop();

private:
    // The window with its frame where it stands now, at the client height given.
    QRect Outer(int clientHeight) const;

    QWidget& window_;
    std::function<bool()> active_;
    std::function<int()> leastHeight_;
    int wanted_ = 0;
    TFrameWatch* frameWatch_;  // a child of the window
};

}  // namespace app
