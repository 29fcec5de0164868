// The web-socket dialog: address, port, name and start flag of one web socket. It edits the entry it
// is given in place on OK; OK is refused while another web socket has the same address and port.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "app/windows/base/IpAddrPortFrame.h"

namespace app {

struct TWebSocketEntry;
class TWebSocketList;

class TSetupWebSocket_Form : public QDialog {
public:
    explicit TSetupWebSocket_Form(const TWebSocketList& list, QWidget* parent = nullptr);

    TWebSocketEntry* Entry = nullptr;  // the entry being edited, not owned; set before showing
    bool IsNew = false;                // true while Entry is not yet in the web-socket list

    // The controls from Entry, at each showing.
    void FormShow();
    void OK_BitBtnClick();

    TMod_IpAddr_Port_Frame* WsAddr_Port_Frame;
    QLineEdit* Name_Edit;
    QCheckBox* Active_CB;
    QPushButton* OK_BitBtn;
    QPushButton* Cancel_BitBtn;
    QPushButton* Help_BitBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TWebSocketList& list_;
};

}  // namespace app
