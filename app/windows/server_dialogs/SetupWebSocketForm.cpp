#include "app/windows/server_dialogs/SetupWebSocketForm.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "app/lists/web_socket_list.h"
#include "app/windows/base/DigitRules.h"
#include "common/MsgDlgWrappers.h"
#include "engine/http/capture_http_server.h"

namespace app {

TSetupWebSocket_Form::TSetupWebSocket_Form(const TWebSocketList& list, QWidget* parent) : QDialog(parent), list_(list) {
    setWindowTitle(QStringLiteral("Setup Web-Socket"));
    auto* group = new QGroupBox(tr("Web-Socket"), this);
    WsAddr_Port_Frame = new TMod_IpAddr_Port_Frame(group);
    Name_Edit = new QLineEdit(group);
    Active_CB = new QCheckBox(tr("Active"), group);
    auto* form = new QFormLayout(group);
    form->addRow(WsAddr_Port_Frame);
    form->addRow(tr("Name"), Name_Edit);
    form->addRow(Active_CB);

    OK_BitBtn = new QPushButton(tr("OK"), this);
    OK_BitBtn->setDefault(true);
    Cancel_BitBtn = new QPushButton(tr("Cancel"), this);
    Help_BitBtn = new QPushButton(tr("Help"), this);  // there is no help page for web sockets
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OK_BitBtn);
    buttons->addWidget(Cancel_BitBtn);
    buttons->addWidget(Help_BitBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(OK_BitBtn, &QPushButton::clicked, this, [this] { OK_BitBtnClick(); });
    connect(Cancel_BitBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TSetupWebSocket_Form::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TSetupWebSocket_Form::FormShow() {
    if (!Entry) return;
    WsAddr_Port_Frame->SetIpText(engine::IpAddrToText(static_cast<uint32_t>(Entry->Addr)));
    WsAddr_Port_Frame->SetPort(Entry->Port);
    Name_Edit->setText(QString::fromStdString(Entry->Name));
    Active_CB->setChecked(Entry->Active);
}

void TSetupWebSocket_Form::OK_BitBtnClick() {
    if (!Entry) return;
    const int32_t addr = DottedTextToIpAddr(WsAddr_Port_Frame->GetIpText());
    const int32_t port = WsAddr_Port_Frame->GetPort();
    // A new entry is not listed yet, so every listed entry counts; an edited one skips itself.
    const bool clash = std::any_of(list_.Items().begin(), list_.Items().end(), [&](const auto& other) {
        return (IsNew || other.get() != Entry) && other->Addr == addr && other->Port == port;
    });
    if (clash) {
        ShowMsgDlg(components::mtError, QStringLiteral("Error"), QStringLiteral("Web-Socket already defined!"), 1,
                   QString(), QString(), QStringLiteral("OK"));
        return;
    }
    Entry->Addr = addr;
    Entry->Port = port;
    Entry->Name = Name_Edit->text().toStdString();
    Entry->Active = Active_CB->isChecked();
    accept();
}

}  // namespace app
