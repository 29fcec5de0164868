// Keeps a window on its monitor: never larger than the monitor's available area (less the window's
// frame), and, once it has been shown, moved so that its frame lies inside that area.
#pragma once

#include <QSize>
#include <QWidget>

#include "app/windows/base/FrameWatch.h"

namespace app {

// Resizes window to wanted, cut to the available area of the monitor it stands on; a window shown now
// or before is then moved into that area. A window never shown is only sized: its first showing places it.
void FitIntoScreen(QWidget& window, QSize wanted);

// FitIntoScreen now and again whenever the window's frame changes: the window manager's frame is known
// only once the window is shown, and a window sized without it would reach past the screen's edge.
class TScreenFit {
public:
    explicit TScreenFit(QWidget& window);
    ~TScreenFit();
    TScreenFit(const TScreenFit&) = delete;
    TScreenFit& operator=(const TScreenFit&) = delete;

    void Fit(QSize wanted);

private:
    QWidget& window_;
    QSize wanted_;
    TFrameWatch* frameWatch_;  // a child of the window, which this object takes along when it goes
};

}  // namespace app
