#include "app/windows/editors/ShareFtpGroup.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <memory>
#include <string>

#include "app/windows/base/EditorControls.h"
#include "app/windows/editors/FtpCheck.h"
#include "app/windows/editors/FtpLog_Form.h"
#include "app/windows/editors/ShareEditRules.h"
#include "app/windows/editors/ShareEditorContext.h"
#include "common/MsgDlgWrappers.h"
#include "engine/settings/name_routines.h"
#include "engine/util/system_info.h"

namespace app {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

}  // namespace

TShareFtpGroup::TShareFtpGroup(const TShareEditorContext& context, TFtpLog_Form& log, QWidget* parent)
    : QGroupBox(QStringLiteral("FTP Upload"), parent), context_(context), log_(log) {
    auto* layout = new QFormLayout(this);
    Ftp_CB = new QCheckBox(QStringLiteral("Active"), this);
    CheckBox1 = new QCheckBox(QStringLiteral("Clear FTP Directory"), this);
    auto* top = new QHBoxLayout();
    top->addWidget(Ftp_CB);
    top->addWidget(CheckBox1);
    layout->addRow(top);
    Host_Edit = new QLineEdit(this);
    User_Edit = new QLineEdit(this);
    Pw_Edit = new QLineEdit(this);
    Pw_Edit->setEchoMode(QLineEdit::Password);
    HostDir_Edit = MakeNamedEdit(this, "HostDir_Edit");
    Computer_TB = MakeToolButton(this, "Computer_TB", QStringLiteral("PC"), QStringLiteral("Add Computer Name"));
    layout->addRow(QStringLiteral("Host"), Host_Edit);
    layout->addRow(QStringLiteral("User"), User_Edit);
    layout->addRow(QStringLiteral("Password"), Pw_Edit);
    auto* hostDirRow = new QHBoxLayout();
    hostDirRow->addWidget(HostDir_Edit, 1);
    hostDirRow->addWidget(Computer_TB);
    layout->addRow(QStringLiteral("Host-Directory"), hostDirRow);
    auto* freqRow = new QHBoxLayout();
    ImgFreq_SpinEdit = MakeSpinEdit(this, kMinFtpUploadFreqS, kMaxFtpUploadFreqS);
    CheckFtp_TB = MakeToolButton(this, "CheckFtp_TB", QStringLiteral("Check FTP"), QStringLiteral("Check FTP"));
    freqRow->addWidget(ImgFreq_SpinEdit);
    freqRow->addWidget(new QLabel(QStringLiteral("sec"), this));
    freqRow->addStretch();
    freqRow->addWidget(CheckFtp_TB);
    layout->addRow(QStringLiteral("Upload Freq."), freqRow);

    connect(Computer_TB, &QToolButton::clicked, this, [this] {
        HostDir_Edit->setText(Q(engine::SanitizeName(engine::GetLocalComputerName())).toLower());
    });
    connect(CheckFtp_TB, &QToolButton::clicked, this, [this] { CheckFtp_TBClick(); });
}

void TShareFtpGroup::LoadFrom(const engine::TCaptureStreamer& share) {
    Ftp_CB->setChecked(share.FtpActive);
    Host_Edit->setText(Q(share.FtpHost));
    User_Edit->setText(Q(share.FtpUser));
    Pw_Edit->setText(Q(share.FtpPassword));
    HostDir_Edit->setText(Q(share.FtpHostDir));
    ImgFreq_SpinEdit->setValue(share.FtpImageFreq);
}

void TShareFtpGroup::StoreTo(engine::TCaptureStreamer& share) const {
    share.FtpActive = Ftp_CB->isChecked();
    share.FtpHost = S(Host_Edit->text());
    share.FtpUser = S(User_Edit->text());
    share.FtpPassword = S(Pw_Edit->text());
    share.FtpHostDir = S(HostDir_Edit->text());
    share.FtpImageFreq = ImgFreq_SpinEdit->value();
}

void TShareFtpGroup::NormalizeHostDir() { HostDir_Edit->setText(Q(app::NormalizeHostDir(S(HostDir_Edit->text())))); }

void TShareFtpGroup::CheckFtp_TBClick() {
    log_.FormShow();
    window()->setEnabled(false);
    log_.setEnabled(true);  // a window of its own, which the editor's disabling reached as well
    const engine::FtpLogin login{S(Host_Edit->text()), S(User_Edit->text()), S(Pw_Edit->text())};
    std::unique_ptr<engine::FtpSession> session =
        context_.MakeFtpSession ? context_.MakeFtpSession(login) : std::make_unique<engine::CurlFtpSession>(login);
    NormalizeHostDir();
    const std::string hostDir = S(HostDir_Edit->text());
    TFtpCheckIo io;
    io.AddLine = [this](const std::string& line) { log_.AddLine(Q(line)); };
    io.ConfirmCreate = [](const std::string& dir) {
        return ShowMsgDlg(components::mtConfirmation, QStringLiteral("Confirmation"),
                          QStringLiteral("Do you want to create the directory \"%1\" ?").arg(Q(dir)), 1, QString(),
                          QStringLiteral("Cancel"), QStringLiteral("Yes")) == kMsgDlgButton1;
    };
    RunFtpCheck(*session, login.host, hostDir, io);
}

}  // namespace app
