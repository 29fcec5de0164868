// Keeps a window on its monitor: never larger than the monitor's available area (less the window's
// frame), and, once it has been shown, moved so that its frame lies inside that area.
#pragma once

#include <QSize>
#include <QWidget>

#include "app/windows/base/FrameWatch.h"

namespace app {

// Resizes window to wanted, cut to the available area of the monitor it stands on; a window shown now
// or before keeps its middle and is then moved into that area. A window never shown is only sized: its
// first showing places it.
void FitIntoScreen(QWidget& window, QSize wanted);

// Sizes window as FitIntoScreen does and centres its client area on the available area, then moves it
// so that its frame, as far as it is known, lies inside that area. The client area, not the frame, is
// centred: its place is then the same whether or not the window manager's frame is known yet.
void CentreOnScreen(QWidget& window, QSize wanted);

// FitIntoScreen (or CentreOnScreen) now and again whenever the window's frame changes: the window
// manager's frame is known only once the window is shown, and a window sized or placed without it would
// reach past the screen's edge.
class TScreenFit {
public:
    explicit TScreenFit(QWidget& window);
    ~TScreenFit();
    TScreenFit(const TScreenFit&) = delete;
    TScreenFit& operator=(const TScreenFit&) = delete;

    void Fit(QSize wanted);
    // CentreOnScreen now and again whenever the frame changes, for a window that shows itself at the
    // same place at every opening: Qt alone puts a window shown again where its frame was, and one
    // shown for the first time where its client area would be without a frame.
    void Centre();

private:
    QSize Wanted() const { return wanted_.isValid() ? wanted_ : window_.size(); }

    QWidget& window_;
    QSize wanted_;  // none before the first Fit: the window's size then
    bool centred_ = false;
    TFrameWatch* frameWatch_;  // a child of the window, which this object takes along when it goes
};

}  // namespace app
