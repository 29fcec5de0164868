// The taskbar presence of the program's main window. Without a taskbar button the window carries
// _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER, which task bars and pagers honour; its
// visibility and place stay as they were. A window manager drops these states when the window is
// hidden, so they are asked for again each time the window is shown.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "components/AppTaskbar.h"

namespace components {

class TQtAppTaskbar : public QObject, public TAppTaskbar {
public:
    explicit TQtAppTaskbar(QWidget* mainWindow = nullptr);

    void SetMainWindow(QWidget* mainWindow);
    // Read by the program's start before it shows the main window.
    bool ShowMainForm() const { return showMainForm_; }

    void SetShowMainForm(bool show) override { showMainForm_ = show; }
    void SetTaskbarButton(bool shown) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply();

    QPointer<QWidget> mainWindow_;
    bool showMainForm_ = true;
    bool taskbarButton_ = true;
};

}  // namespace components
