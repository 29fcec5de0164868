#include "app/QtStartupUi.h"

#include <QCheckBox>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/ScreenDpi.h"
#include "engine/settings/program_state.h"

namespace app {

TQtStartupUi::TQtStartupUi(QApplication& application, std::function<std::unique_ptr<TLumora_MainForm>()> makeMainForm,
                           std::function<bool()> showMainForm)
    : application_(application), makeMainForm_(std::move(makeMainForm)), showMainForm_(std::move(showMainForm)) {}

TQtStartupUi::~TQtStartupUi() = default;

int TQtStartupUi::ScreenLogicalDpi() { return PrimaryScreenLogicalDpi(); }

int TQtStartupUi::ShowCheckDialog(const TCheckDialogRequest& request, bool& checked) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(request.Caption), QString::fromStdString(request.Text));
    QPushButton* first = box.addButton(QString::fromStdString(request.Button1), QMessageBox::AcceptRole);
    if (!request.Button2.empty()) box.addButton(QString::fromStdString(request.Button2), QMessageBox::RejectRole);
    box.setDefaultButton(first);
    QCheckBox* check = nullptr;
    if (!request.CheckCaption.empty()) {
        check = new QCheckBox(QString::fromStdString(request.CheckCaption), &box);
        check->setChecked(checked);
        box.setCheckBox(check);
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
    if (check != nullptr) checked = check->isChecked();
    return box.clickedButton() == first ? kDialogFirstButton : kDialogSecondButton;
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
    QApplication::setApplicationDisplayName(QString::fromStdString(title));
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
    engine::AppClosing = true;  // what runs on until the closing (a settings road's restarts) stands back
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
