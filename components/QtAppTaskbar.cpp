#include "components/QtAppTaskbar.h"

namespace components {

void TQtAppTaskbar::SetMainWindow(QWidget* mainWindow) {
    mainWindow_ = mainWindow;
    Apply();
}

void TQtAppTaskbar::SetTaskbarButton(bool shown) {
    taskbarButton_ = shown;
    Apply();
}

void TQtAppTaskbar::Apply() {
    QWidget* window = mainWindow_.data();
    if (!window) return;
    const bool isTool = window->windowFlags().testFlag(Qt::Tool);
    if (isTool == !taskbarButton_) return;
    // Changing the flags re-creates the window hidden: show it again where it was.
    const bool wasVisible = window->isVisible();
    const QRect geometry = window->geometry();
    window->setWindowFlag(Qt::Tool, !taskbarButton_);
    if (wasVisible) {
        window->setGeometry(geometry);
        window->show();
    }
}

}  // namespace components
