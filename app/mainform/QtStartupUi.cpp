#include "app/mainform/QtStartupUi.h"

#include <QDialog>

#include "common/MsgDlgWrappers.h"
#include "common/ScreenDpi.h"
#include "components/ApplicationTitle.h"
#include "engine/settings/program_state.h"

namespace app {

TQtStartupUi::TQtStartupUi(QApplication& application, std::function<std::unique_ptr<TLumora_MainForm>()> makeMainForm,
                           std::function<bool()> showMainForm)
    : application_(application), makeMainForm_(std::move(makeMainForm)), showMainForm_(std::move(showMainForm)) {}

TQtStartupUi::~TQtStartupUi() = default;

int TQtStartupUi::ScreenLogicalDpi() { return PrimaryScreenLogicalDpi(); }

int TQtStartupUi::ShowCheckDialog(const TCheckDialogRequest& request, bool& checked) {
    // The program's own message dialog with the check box; the first button is the default.
    const int result = ShowMsgDlgCheck(components::mtWarning, QString::fromStdString(request.Caption),
                                       QString::fromStdString(request.Text), 1, checked,
                                       QString::fromStdString(request.CheckCaption), !request.CheckCaption.empty(),
                                       QString(), QString::fromStdString(request.Button2),
                                       QString::fromStdString(request.Button1));
    return result == kMsgDlgButton1 ? kDialogFirstButton : kDialogSecondButton;
}

void TQtStartupUi::ShowSplash() {
    splash_ = std::make_unique<TSplash_Form>();
    splash_->ShowCentred();
    QApplication::processEvents();
}

void TQtStartupUi::CloseSplash() {
    if (!splash_) return;
    splash_->hide();
    QApplication::processEvents();
    splash_.reset();
}

void TQtStartupUi::SetApplicationTitle(const std::string& title) {
    components::SetApplicationTitle(QString::fromStdString(title));
}

void TQtStartupUi::CreateForms() {
    mainForm_ = makeMainForm_();
    if (!mainForm_->FormCreate()) return;
    if (!showMainForm_ || showMainForm_())
        mainForm_->show();
    else
        mainForm_->BeginFirstShowing();
}

void TQtStartupUi::ShowMainWindow() {
    if (!mainForm_) return;
    if (mainForm_->isMinimized()) {
        mainForm_->showNormal();
        return;
    }
    mainForm_->show();
    mainForm_->raise();
    mainForm_->activateWindow();
}

void TQtStartupUi::EndSession() {
    if (sessionEnding_) return;
    sessionEnding_ = true;
    // What would run on until the closing (the restarts after the settings dialog) stands back.
    engine::AppClosing = true;
    // Dialogs first, innermost first: their callers take them as cancelled.
    for (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr;) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
        QWidget* next = QApplication::activeModalWidget();
        if (next == modal) break;  // one that refuses to go
        modal = next;
    }
    QCoreApplication::exit(0);  // every running loop; the closing follows in RunMessageLoop
}

int TQtStartupUi::RunMessageLoop() {
    const int exitCode = sessionEnding_ ? 0 : application_.exec();
    if (mainForm_ && !mainForm_->FormClosed() && !mainForm_->Ended()) mainForm_->close();
    mainForm_.reset();
    return exitCode;
}

}  // namespace app
