// The "Web-Server / -Socket" page of the settings dialog: the lists of web servers and web sockets
// with their Add, Edit and Delete, which act at once on the live lists (the files follow at the next
// save). The share editor borrows the web-server Add and Edit.
#pragma once

#include <QPushButton>
#include <QTableView>
#include <QWidget>
#include <memory>

namespace app {

class ISettingsFormHost;
class TListGridModel;
class THttpServerEntry;
class THttpSetup_Form;
class TSetupWebSocket_Form;

class TWebServerPage : public QWidget {
public:
    static constexpr const char* kHttpListName = "http_vst";
    static constexpr const char* kWsListName = "ws_vst";
    // Logical columns of Http_VST.
    enum : int { kHttpColAct = 0, kHttpColExt, kHttpColAddress, kHttpColPort, kHttpColName, kHttpColAuth };

    TWebServerPage(ISettingsFormHost& host, THttpSetup_Form& httpSetup, TSetupWebSocket_Form& wsSetup,
                   QWidget* parent = nullptr);

    void FillHttpList();
    void FillWebSocketList();
    // Http_VST shows "Act", "Ext", "Auth", "Name", "IP Address", "Port".
    void ArrangeHttpColumns();
    void LoadColumnWidths();
    void SaveColumnWidths() const;

    // A new web server from the dialog, prefilled from the [Http] settings; refused when a web server
    // has its address and port already.
    void AddHttpServer();
    // The dialog for entry; allowTest enables its Test button. OK writes the entry and its server.
    void EditHttpServer(THttpServerEntry& entry, bool allowTest);

    void EditHttp_BitBtnClick();
    void DelHttp_BitBtnClick();
    void AddSock_TBClick();
    void EditSock_TBClick();
    void DelSock_TBClick();

    QTableView* Http_VST;
    QPushButton* AddHttp_BitBtn;
    QPushButton* EditHttp_BitBtn;
    QPushButton* DelHttp_BitBtn;
    QTableView* Ws_VST;
    QPushButton* AddSock_TB;
    QPushButton* EditSock_TB;
    QPushButton* DelSock_TB;

private:
    void FillDialogFrom(const THttpServerEntry& entry);
    void StoreDialogInto(THttpServerEntry& entry);

    ISettingsFormHost& host_;
    THttpSetup_Form& httpSetup_;
    TSetupWebSocket_Form& wsSetup_;
    TListGridModel* httpModel_;
    TListGridModel* wsModel_;
};

}  // namespace app
