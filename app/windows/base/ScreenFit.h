// Keeps a window on its monitor: never larger than the monitor's available area (less the window's
// frame), and, once shown, moved so that its frame lies inside that area.
#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>
#include <QWidget>

namespace app {

// Resizes window to wanted, cut to the available area of the monitor it stands on; a shown window is
// then moved into that area. A window not shown yet is only sized: its first showing places it.
void FitIntoScreen(QWidget& window, QSize wanted);

// FitIntoScreen now and again whenever the window's frame changes: the window manager's frame is known
// only once the window is shown, and a window sized without it would reach past the screen's edge.
class TScreenFit : public QObject {
public:
    explicit TScreenFit(QWidget& window);

    void Fit(QSize wanted);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QSize wanted_;
    QMargins frame_;  // the frame the last fit knew
};

}  // namespace app
