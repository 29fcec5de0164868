// Centres a top-level window on a monitor (numbered as the monitor utilities number them). The window
// manager's frame is known only once the window is shown, so a window centred before that is centred
// again, once, when its frame appears; a window the user moved afterwards stays where he put it.
// Hiding the window ends the centring until the next Centre().
#pragma once

#include <QObject>
#include <QWidget>

#include "app/windows/base/FrameWatch.h"

namespace app {

class TMonitorCentring : public QObject {
public:
    explicit TMonitorCentring(QWidget& window);

    // The window's frame centred on monitor number monitor (monitor 1 for one that does not exist).
    void Centre(int monitor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    QWidget& window_;
    int monitor_ = 1;  // the monitor asked for last
    TFrameWatch* frameWatch_;  // a child of the window
};

}  // namespace app
