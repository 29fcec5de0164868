#include "app/windows/ModalRunner.h"

#include <QDialog>
#include <utility>

namespace app {

namespace {

TModalRunner& InstalledRunner() {
    static TModalRunner runner;
    return runner;
}

}  // namespace

TModalRunner SetModalRunner(TModalRunner runner) { return std::exchange(InstalledRunner(), std::move(runner)); }

int RunModal(QDialog& dialog) {
    if (const TModalRunner& runner = InstalledRunner()) return runner(dialog);
    return dialog.exec() == QDialog::Accepted ? kModalOk : kModalCancel;
}

}  // namespace app
