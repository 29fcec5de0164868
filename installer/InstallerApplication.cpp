#include "installer/InstallerApplication.h"

#include <QApplication>
#include <cstdlib>

#include "common/MsgDlgWrappers.h"
#include "common/ScreenDpi.h"
#include "installer/InstallForm.h"
#include "installer/InstallerLog.h"
#include "installer/InstallerThread.h"
#include "installer/InstallerVlcLib.h"
#include "installer/WaitForm.h"

namespace hollarin {

TInstallerApplication::TInstallerApplication() = default;
TInstallerApplication::~TInstallerApplication() = default;

int TInstallerApplication::ScreenLogicalDpi() { return app::PrimaryScreenLogicalDpi(); }

int TInstallerApplication::ShowCheckDialog(const app::TCheckDialogRequest& request, bool& checked) {
    return app::ShowMsgDlgCheck(components::mtWarning, QString::fromStdString(request.Caption),
                                QString::fromStdString(request.Text), 1, checked,
                                QString::fromStdString(request.CheckCaption), true, QString(),
                                QString::fromStdString(request.Button2), QString::fromStdString(request.Button1));
}

void TInstallerApplication::CreateForms(const TCommandLine& commandLine) {
    // The install window first (it is the main window), then the wait window it shows over itself.
    waitForm_ = std::make_unique<TWait_Form>();
    TInstallFormSetup setup;
    setup.CommandLine = commandLine;
    installForm_ = std::make_unique<TFaldrin_Install_Form>(std::move(setup), *waitForm_, host_, InstallerVlcLib());
    installForm_->setAttribute(Qt::WA_QuitOnClose);
    installForm_->show();
}

void TInstallerApplication::ShowMainWindow() {
    if (!installForm_) return;
    if (installForm_->isMinimized()) {
        installForm_->showNormal();
        return;
    }
    installForm_->raise();
    installForm_->activateWindow();
}

void TInstallerApplication::RunMessageLoop() {
    if (!installForm_) return;
    QApplication::exec();
    // The download and extraction threads end before the process does, so none of them meets the
    // program's static objects (log lock, keyboard, extraction lock) going away under it.
    installForm_->EndWorkers();
    if (WaitForSelfFreeingThreads(kWorkersEndTimeout)) return;
    InstallerLog("installer", "a download or extraction thread did not end: the process ends without clean-up");
    std::_Exit(0);
}

}  // namespace hollarin
