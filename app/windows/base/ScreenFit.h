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

// The window's client area centred on the available area of the monitor it stands on, then moved so
// that its frame, as far as it is known, lies inside that area. The client area, not the frame, is
// centred: its place is then the same whether or not the window manager's frame is known yet.
void CentreOnScreen(QWidget& window);

// FitIntoScreen now and again whenever the window's frame changes: the window manager's frame is known
// only once the window is shown, and a window sized without it would reach past the screen's edge.
class TScreenFit {
public:
    explicit TScreenFit(QWidget& window);
    ~TScreenFit();
    TScreenFit(const TScreenFit&) = delete;
    TScreenFit& operator=(const TScreenFit&) = delete;

    void Fit(QSize wanted);
    // CentreOnScreen, then kept inside the area as Fit keeps it. For a window that shows itself at the
    // same place at every opening: Qt puts a window shown again where its frame was, and a window shown
    // for the first time where its client area would be without a frame.
    void Centre();

private:
    void Refit();

    QWidget& window_;
    QSize wanted_;  // none before the first Fit: the window's size then
    TFrameWatch* frameWatch_;  // a child of the window, which this object takes along when it goes
};

}  // namespace app
