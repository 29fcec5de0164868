// The "Audio" tab of the capture-service editor: the web socket that carries the local audio capture
// and whether it runs; a socket that is switched off in the program's list is marked.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QWidget>

namespace app {

struct TCaptureListEntry;
class TWebSocketList;

class TCaptureAudioPage : public QWidget {
public:
    // webSockets (none: only "none" is offered) outlives the page.
    explicit TCaptureAudioPage(const TWebSocketList* webSockets, QWidget* parent = nullptr);

    // A new service: the program's web sockets offered, "none" chosen, not active.
    void InitNew();
    void LoadFrom(const TCaptureListEntry& entry);
    void StoreTo(TCaptureListEntry& entry) const;
    void Ws_ComboBoxChange();

    QComboBox* Ws_ComboBox;
    QCheckBox* WsAct_CB;
    QLabel* WsAct_Label;

private:
    const TWebSocketList* webSockets_;
};

}  // namespace app
