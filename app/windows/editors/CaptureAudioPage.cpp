#include "app/windows/editors/CaptureAudioPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/lists/capture_list_entry.h"
#include "app/lists/web_socket_list.h"
#include "app/windows/base/EditorControls.h"
#include "engine/util/ip_address.h"

namespace app {

TCaptureAudioPage::TCaptureAudioPage(const TWebSocketList* webSockets, QWidget* parent)
    : QWidget(parent), webSockets_(webSockets) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Local Audio Capture"), this);
    auto* form = new QFormLayout(group);
    Ws_ComboBox = MakeNamedCombo(group, "Ws_ComboBox");
    WsAct_CB = new QCheckBox(QStringLiteral("Active"), group);
    WsAct_Label = new QLabel(QStringLiteral("[de-activated]"), group);
    WsAct_Label->hide();
    form->addRow(QStringLiteral("Web-Socket"), Ws_ComboBox);
    form->addRow(WsAct_CB, WsAct_Label);
    layout->addWidget(group);
    layout->addStretch();
    connect(Ws_ComboBox, &QComboBox::activated, this, &TCaptureAudioPage::Ws_ComboBoxChange);
}

void TCaptureAudioPage::InitNew() {
    Ws_ComboBox->clear();
    Ws_ComboBox->addItem(QStringLiteral("none"), -1);
    if (webSockets_) {
        const auto& sockets = webSockets_->Items();
        for (size_t i = 0; i < sockets.size(); ++i)
            Ws_ComboBox->addItem(QString::fromStdString(sockets[i]->Name) + QStringLiteral(" [") +
                                     QString::fromStdString(engine::DottedAddress(sockets[i]->Addr)) +
                                     QStringLiteral(":") + QString::number(sockets[i]->Port) + QStringLiteral("]"),
                                 static_cast<int>(i));
    }
    Ws_ComboBox->setCurrentIndex(0);
    WsAct_CB->setChecked(false);
    WsAct_Label->hide();
}

void TCaptureAudioPage::LoadFrom(const TCaptureListEntry& entry) {
    Ws_ComboBox->setCurrentIndex(0);
    WsAct_Label->hide();
    if (const std::shared_ptr<TWebSocketEntry> socket = entry.WebSocket.lock(); socket && webSockets_) {
        const auto& sockets = webSockets_->Items();
        const auto found = std::find(sockets.begin(), sockets.end(), socket);
        if (found != sockets.end()) {
            Ws_ComboBox->setCurrentIndex(static_cast<int>(found - sockets.begin()) + 1);
            WsAct_Label->setVisible(!socket->Active);
        }
    }
    WsAct_CB->setChecked(entry.WebSocketAct);
}

void TCaptureAudioPage::StoreTo(TCaptureListEntry& entry) const {
    const int socket = ChoiceNumber(*Ws_ComboBox, -1);
    entry.WebSocket.reset();
    if (webSockets_ && socket >= 0 && socket < static_cast<int>(webSockets_->Count()))
        entry.WebSocket = webSockets_->Items()[static_cast<size_t>(socket)];
    entry.WebSocketAct = WsAct_CB->isChecked();
}

void TCaptureAudioPage::Ws_ComboBoxChange() {
    WsAct_Label->hide();
    const int socket = ChoiceNumber(*Ws_ComboBox, -1);
    if (webSockets_ && socket >= 0 && socket < static_cast<int>(webSockets_->Count()))
        WsAct_Label->setVisible(!webSockets_->Items()[static_cast<size_t>(socket)]->Active);
}

}  // namespace app
