#include "components/QtAppTaskbar.h"

#include <QEvent>

#include "components/NetWmState.h"

namespace components {

TQtAppTaskbar::TQtAppTaskbar(QWidget* mainWindow) { SetMainWindow(mainWindow); }

void TQtAppTaskbar::SetMainWindow(QWidget* mainWindow) {
    if (mainWindow_) mainWindow_->removeEventFilter(this);
    mainWindow_ = mainWindow;
    if (mainWindow_) mainWindow_->installEventFilter(this);
    if (!taskbarButton_) Apply();
}

void TQtAppTaskbar::SetTaskbarButton(bool shown) {
    if (shown == taskbarButton_) return;
    taskbarButton_ = shown;
    Apply();
}

void TQtAppTaskbar::Apply() {
    if (mainWindow_) TNetWmState::SetSkipTaskbar(*mainWindow_, !taskbarButton_);
}

// The show event comes before the window is mapped: the states go with the map.
bool TQtAppTaskbar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mainWindow_ && event->type() == QEvent::Show && !taskbarButton_) Apply();
    return QObject::eventFilter(watched, event);
}

}  // namespace components
