#include "app/windows/base/ModalRunner.h"

#include <QDialog>

namespace app {

int RunModal(QDialog& dialog) { return dialog.exec() == QDialog::Accepted ? kModalOk : kModalCancel; }

TScopedModalHide::TScopedModalHide(QWidget& window) {
    if (!window.isVisible()) return;
    window_ = &window;
    // QWidget's own hiding, not QDialog's: the latter also ends the dialog's modal loop.
    window.QWidget::setVisible(false);
}

TScopedModalHide::~TScopedModalHide() {
    if (!window_) return;
    window_->QWidget::setVisible(true);
    window_->raise();
    window_->activateWindow();
}

}  // namespace app
