#include "app/windows/small_windows/WaitFormWrappers.h"

#include <QPointer>

#include "app/settings/registry_store.h"
#include "app/windows/small_windows/Wait_Form.h"

namespace app {

namespace {

struct TWaitFormTargets {
    QPointer<TWait_Form> WaitForm;
    QPointer<QWidget> MainWindow;
};

TWaitFormTargets& Targets() {
    static TWaitFormTargets targets;
    return targets;
}

}  // namespace

void SetWaitFormTargets(TWait_Form* waitForm, QWidget* mainWindow) {
    Targets().WaitForm = waitForm;
    Targets().MainWindow = mainWindow;
}

void ShowWaitForm(int mode, QWidget* owner) {
    TWait_Form* form = Targets().WaitForm;
    if (!form || form->isVisible()) return;
    if (owner && owner == Targets().MainWindow && RegReadInstBool(kCompactMainWindowValue, false)) return;
    form->SetMode(mode);
    form->SetOwnerForm(owner);
    form->show();
}

void CloseWaitForm() {
    TWait_Form* form = Targets().WaitForm;
    if (form && form->isVisible()) form->close();
}

}  // namespace app
