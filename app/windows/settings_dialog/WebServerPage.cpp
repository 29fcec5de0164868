#include "app/windows/settings_dialog/WebServerPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <filesystem>

#include "app/windows/base/ModalRunner.h"
#include "app/windows/base/AmpelImages.h"
#include "app/windows/base/DigitRules.h"
#include "app/windows/server_dialogs/HttpSetupForm.h"
#include "app/windows/server_dialogs/SetupWebSocketForm.h"
#include "app/windows/settings_dialog/ColumnWidths.h"
#include "app/windows/settings_dialog/ListGridModel.h"
#include "app/windows/settings_dialog/SettingsFormHost.h"
#include "app/windows/settings_dialog/SettingsListView.h"
#include "common/MsgDlgWrappers.h"
#include "engine/settings/counters.h"
#include "engine/settings/settings_store.h"
#include "engine/util/path_utils.h"

namespace app {
namespace {

namespace fs = std::filesystem;

int TickOrBar(bool on) { return on ? kAmpelTick : kAmpelBar; }
int TickOrNone(bool on) { return on ? kAmpelTick : -1; }

QString DottedText(int32_t addr) { return QString::fromStdString(engine::IpAddrToText(static_cast<uint32_t>(addr))); }

int AskYesCancel(const QString& text) {
    return ShowMsgDlg(components::mtConfirmation, QStringLiteral("Confirmation"), text, 1, QString(),
                      QStringLiteral("Cancel"), QStringLiteral("Yes"));
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    for (QPushButton* button : buttons) row->addWidget(button);
    row->addStretch(1);
    return row;
}

}  // namespace

TWebServerPage::TWebServerPage(ISettingsFormHost& host, THttpSetup_Form& httpSetup, TSetupWebSocket_Form& wsSetup,
                               QWidget* parent)
    : QWidget(parent), host_(host), httpSetup_(httpSetup), wsSetup_(wsSetup) {
    const THttpServerList& servers = host_.HttpServerList();
    const auto server = [&servers](int row) -> const engine::TCaptureHttpServer* {
        return servers.Items()[static_cast<size_t>(row)]->Server.get();
    };
    const auto entry = [&servers](int row) -> const THttpServerEntry& { return *servers.Items()[static_cast<size_t>(row)]; };
    httpModel_ = new TListGridModel(
        [&servers] { return static_cast<int>(servers.Count()); },
        {{QStringLiteral("Act"), {}, [entry](int row) { return TickOrBar(entry(row).AutoStart); }},
         {QStringLiteral("Ext"), {}, [server](int row) { return TickOrNone(server(row) && server(row)->ExtHttpServer); }},
         {QStringLiteral("IP Address"),
          [entry](int row) { return DottedText(entry(row).IpAddr()); }, {}},
         {QStringLiteral("Port"), [entry](int row) { return QString::number(entry(row).Port()); }, {}},
         {QStringLiteral("Name"),
          [server](int row) { return server(row) ? QString::fromStdString(server(row)->Name()) : QString(); }, {}},
         {QStringLiteral("Auth"), {}, [server](int row) { return TickOrNone(server(row) && server(row)->Authentication); }}},
        this);

    const TWebSocketList& sockets = host_.WebSocketList();
    const auto socket = [&sockets](int row) -> const TWebSocketEntry& { return *sockets.Items()[static_cast<size_t>(row)]; };
    wsModel_ = new TListGridModel(
        [&sockets] { return static_cast<int>(sockets.Count()); },
        {{QStringLiteral("Act"), {}, [socket](int row) { return TickOrBar(socket(row).Active); }},
         {QStringLiteral("Name"), [socket](int row) { return QString::fromStdString(socket(row).Name); }, {}},
         {QStringLiteral("IP Address"), [socket](int row) { return DottedText(socket(row).Addr); }, {}},
         {QStringLiteral("Port"), [socket](int row) { return QString::number(socket(row).Port); }, {}}},
        this);

    auto* http = new QGroupBox(tr("Web-Server HTTP"), this);
    Http_VST = MakeSettingsListView(http, httpModel_);
    AddHttp_BitBtn = new QPushButton(tr("Add Web-Server"), http);
    EditHttp_BitBtn = new QPushButton(tr("Edit Web-Server"), http);
    DelHttp_BitBtn = new QPushButton(tr("Delete Web-Server"), http);
    auto* httpLayout = new QVBoxLayout(http);
    httpLayout->addWidget(Http_VST, 1);
    httpLayout->addLayout(ButtonRow({AddHttp_BitBtn, EditHttp_BitBtn, DelHttp_BitBtn}));

    auto* ws = new QGroupBox(tr("Web-Socket"), this);
    Ws_VST = MakeSettingsListView(ws, wsModel_);
    AddSock_TB = new QPushButton(tr("Add Web-Socket"), ws);
    EditSock_TB = new QPushButton(tr("Edit Web-Socket"), ws);
    DelSock_TB = new QPushButton(tr("Delete Web-Socket"), ws);
    auto* wsLayout = new QVBoxLayout(ws);
    wsLayout->addWidget(Ws_VST, 1);
    wsLayout->addLayout(ButtonRow({AddSock_TB, EditSock_TB, DelSock_TB}));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(http, 3);
    layout->addWidget(ws, 2);

    connect(AddHttp_BitBtn, &QPushButton::clicked, this, [this] { AddHttpServer(); });
    connect(EditHttp_BitBtn, &QPushButton::clicked, this, [this] { EditHttp_BitBtnClick(); });
    connect(DelHttp_BitBtn, &QPushButton::clicked, this, [this] { DelHttp_BitBtnClick(); });
    connect(Http_VST, &QTableView::doubleClicked, this, [this] { EditHttp_BitBtnClick(); });
    connect(AddSock_TB, &QPushButton::clicked, this, [this] { AddSock_TBClick(); });
    connect(EditSock_TB, &QPushButton::clicked, this, [this] { EditSock_TBClick(); });
    connect(DelSock_TB, &QPushButton::clicked, this, [this] { DelSock_TBClick(); });
    connect(Ws_VST, &QTableView::doubleClicked, this, [this] { EditSock_TBClick(); });
}

void TWebServerPage::FillHttpList() { httpModel_->Refill(); }

void TWebServerPage::FillWebSocketList() { wsModel_->Refill(); }

void TWebServerPage::ArrangeHttpColumns() {
    QHeaderView& header = *Http_VST->horizontalHeader();
    header.moveSection(header.visualIndex(kHttpColAuth), 2);
    header.moveSection(header.visualIndex(kHttpColName), 3);
}

void TWebServerPage::LoadColumnWidths() {
    app::LoadColumnWidths(*Http_VST->horizontalHeader(), kHttpListName,
                          {{kHttpColAct, 35}, {kHttpColExt, 35}, {kHttpColAddress, 110}, {kHttpColPort, 55}, {kHttpColAuth, 45}});
    app::LoadColumnWidths(*Ws_VST->horizontalHeader(), kWsListName, {{0, 35}, {1, 150}, {2, 100}});
}

void TWebServerPage::SaveColumnWidths() const {
    app::SaveColumnWidths(*Http_VST->horizontalHeader(), kHttpListName);
    app::SaveColumnWidths(*Ws_VST->horizontalHeader(), kWsListName);
}

void TWebServerPage::FillDialogFrom(const THttpServerEntry& entry) {
    const engine::TCaptureHttpServer& server = *entry.Server;
    httpSetup_.HttpAddr_Port_Frame->SetIpText(engine::IpAddrToText(server.IpAddr()));
    httpSetup_.HttpAddr_Port_Frame->SetPort(server.Port());
    httpSetup_.Ext_CB->setChecked(server.ExtHttpServer);
    httpSetup_.RootPath = server.Root;
    httpSetup_.Active_CB->setChecked(entry.AutoStart);
    httpSetup_.Login_CB->setChecked(server.Authentication);
    httpSetup_.User_Edit->setText(QString::fromStdString(server.User));
    httpSetup_.Pw_Edit->setText(QString::fromStdString(server.Password));
    httpSetup_.Name_Edit->setText(QString::fromStdString(server.Name()));
    httpSetup_.IndexFile = server.IndexHtml();
    httpSetup_.ShowIndexFile();
    httpSetup_.SetFileList(server.FileList);
}

void TWebServerPage::StoreDialogInto(THttpServerEntry& entry) {
    engine::TCaptureHttpServer& server = *entry.Server;
    entry.AutoStart = httpSetup_.Active_CB->isChecked();
    server.SetIpAddr(static_cast<uint32_t>(DottedTextToIpAddr(httpSetup_.HttpAddr_Port_Frame->GetIpText())));
    server.SetPort(httpSetup_.HttpAddr_Port_Frame->GetPort());
    server.Root = httpSetup_.RootPath;
    server.ExtHttpServer = httpSetup_.Ext_CB->isChecked();
    server.Authentication = httpSetup_.Login_CB->isChecked();
    server.User = httpSetup_.User_Edit->text().toStdString();
    server.Password = httpSetup_.Pw_Edit->text().toStdString();
    server.SetName(httpSetup_.Name_Edit->text().toStdString());

    // Every extra file gets a copy in the server's default root, which the shares copy from; a copy that
    // is already there is kept. A file that cannot be copied is left out and named in one message.
    server.FileList.clear();
    QStringList failed;
    for (const std::string& file : httpSetup_.FileList()) {
        const std::string target = server.DefaultRoot() + engine::ExtractFileName(file);
        std::error_code ec;
        if (!fs::exists(target, ec)) fs::copy_file(file, target, ec);
        if (fs::is_regular_file(target, ec)) {
            server.FileList.push_back(target);
        } else {
            failed << QString::fromStdString(file);
        }
    }
    server.SetIndexHtml(httpSetup_.IndexFile);
    if (!failed.isEmpty())
        ShowMsgDlg(components::mtWarning, QStringLiteral("Framewick"),
                   QStringLiteral("These files could not be copied into the web server's folder:\n") + failed.join('\n'),
                   1, QString(), QString(), QStringLiteral("OK"));
}

void TWebServerPage::AddHttpServer() {
    THttpServerList& servers = host_.HttpServerList();
    const auto settings = engine::Settings();
    httpSetup_.HttpAddr_Port_Frame->SetIpText(engine::IpAddrToText(static_cast<uint32_t>(settings->Ip)));
    httpSetup_.HttpAddr_Port_Frame->SetPort(settings->Port);
    httpSetup_.Name_Edit->setText(QStringLiteral("Web-Server_%1").arg(servers.Count()));
    httpSetup_.RootPath = settings->Root;
    httpSetup_.Login_CB->setChecked(false);
    httpSetup_.User_Edit->clear();
    httpSetup_.Pw_Edit->clear();
    httpSetup_.Active_CB->setChecked(true);
    httpSetup_.Ext_CB->setChecked(false);
    httpSetup_.Test_TB->setEnabled(true);

    auto entry = std::make_shared<THttpServerEntry>(host_.CreateHttpServer(engine::NextHttpServerIndex()));
    if (!entry->Server) return;
    httpSetup_.IndexFile = entry->Server->IndexHtml();
    httpSetup_.ShowIndexFile();
    httpSetup_.SetFileList(entry->Server->FileList);

    if (RunModal(httpSetup_) != kModalOk) {
        host_.FreeHttpServerEntry(*entry);
        return;
    }
    if (!servers.IsWebServerUnique(httpSetup_.HttpAddr_Port_Frame->GetIpText(), httpSetup_.HttpAddr_Port_Frame->GetPort())) {
        ShowMsgDlg(components::mtError, QStringLiteral("Framewick"), QStringLiteral("HTTP Server alreday exists!"), 1,
                   QString(), QString(), QStringLiteral("OK"));
        host_.FreeHttpServerEntry(*entry);
        return;
    }
    StoreDialogInto(*entry);
    servers.Append(entry);
    httpModel_->Refill();
}

void TWebServerPage::EditHttpServer(THttpServerEntry& entry, bool allowTest) {
    if (!entry.Server) return;
    httpSetup_.Test_TB->setEnabled(allowTest);
    FillDialogFrom(entry);
    if (RunModal(httpSetup_) == kModalOk) StoreDialogInto(entry);
    httpSetup_.Test_TB->setEnabled(true);
    httpModel_->Refill();
}

void TWebServerPage::EditHttp_BitBtnClick() {
    const int row = FocusedRow(*Http_VST);
    const auto& items = host_.HttpServerList().Items();
    if (row < 0 || row >= static_cast<int>(items.size())) return;
    const std::shared_ptr<THttpServerEntry> entry = items[static_cast<size_t>(row)];  // kept while the dialog shows
    EditHttpServer(*entry, true);
}

void TWebServerPage::DelHttp_BitBtnClick() {
    THttpServerList& servers = host_.HttpServerList();
    const int row = FocusedRow(*Http_VST);
    if (row < 0 || row >= static_cast<int>(servers.Count())) return;
    const std::shared_ptr<THttpServerEntry> entry = servers.Items()[static_cast<size_t>(row)];
    if (host_.CaptureList().IsWebServerInUse(*entry)) {
        ShowMsgDlg(components::mtInformation, QStringLiteral("Framewick"),
                   QStringLiteral("the selected HTTP-Server is still assigned and cannot be deleted"), 1, QString(),
                   QString(), QStringLiteral("OK"));
        return;
    }
    if (AskYesCancel(QStringLiteral("The selected HTTP-Server will be deleted! Are you sure?")) != kMsgDlgButton1) return;
    host_.FreeHttpServerEntry(*entry);
    servers.Remove(entry.get());
    httpModel_->Refill();
}

void TWebServerPage::AddSock_TBClick() {
    TWebSocketList& sockets = host_.WebSocketList();
    std::shared_ptr<TWebSocketEntry> entry = InitWebSocketEntry(sockets, host_.CreateWebSocketGraph());
    wsSetup_.Entry = entry.get();
    wsSetup_.IsNew = true;
    const bool ok = RunModal(wsSetup_) == kModalOk;
    wsSetup_.Entry = nullptr;
    if (!ok) {
        host_.FreeWebSocketEntry(*entry);
        return;
    }
    sockets.Append(entry);
    wsModel_->Refill();
}

void TWebServerPage::EditSock_TBClick() {
    const int row = FocusedRow(*Ws_VST);
    const auto& items = host_.WebSocketList().Items();
    if (row < 0 || row >= static_cast<int>(items.size())) return;
    const std::shared_ptr<TWebSocketEntry> entry = items[static_cast<size_t>(row)];
    wsSetup_.Entry = entry.get();
    wsSetup_.IsNew = false;
    RunModal(wsSetup_);  // the dialog writes the entry on OK
    wsSetup_.Entry = nullptr;
    wsModel_->Refill();
}

void TWebServerPage::DelSock_TBClick() {
    TWebSocketList& sockets = host_.WebSocketList();
    const int row = FocusedRow(*Ws_VST);
    if (row < 0 || row >= static_cast<int>(sockets.Count())) return;
    const std::shared_ptr<TWebSocketEntry> entry = sockets.Items()[static_cast<size_t>(row)];
    const auto& captures = host_.CaptureList().Items();
    const auto linked = [&](const std::unique_ptr<TCaptureListEntry>& capture) { return capture->WebSocket.lock() == entry; };
    const bool assigned = std::any_of(captures.begin(), captures.end(), linked);
    const QString text = assigned ? QStringLiteral("The selected WebSocket is assigend! Are you sure delete it anyway?")
                                  : QStringLiteral("The selected WebSocket will be deleted! Are you sure?");
    if (AskYesCancel(text) != kMsgDlgButton1) return;
    for (const auto& capture : captures)
        if (linked(capture)) capture->WebSocket.reset();
    host_.FreeWebSocketEntry(*entry);
    sockets.Remove(entry.get());
    wsModel_->Refill();
}

}  // namespace app
