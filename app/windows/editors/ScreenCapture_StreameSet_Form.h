// The share editor: one share of a capture job (active, protocol, content, UDP destination, or web
// server with sub-folder and its files, FTP mirror). The web server's two tabs and the FTP part are
// parts of their own. Created once and reused: LoadShare, modal show, and on OK the caller's StoreShare.
// OK refuses input that fails a check with a message box and keeps the dialog open; Cancel after such a
// refusal leaves the share inactive.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <memory>
#include <optional>

#include "app/windows/editors/ShareEditorContext.h"
#include "engine/capture/settings/CaptureStreamer.h"

namespace app {

class TFtpLog_Form;
class TMod_IpAddr_Port_Frame;
class TScreenFit;
class TShareFilesPage;
class TShareFtpGroup;
class TShareWebServerPage;

constexpr int kMaxUdpPort = 65535;  // itself refused

class TScreenCapture_StreameSet_Form : public QDialog {
public:
    explicit TScreenCapture_StreameSet_Form(TShareEditorContext context, QWidget* parent = nullptr);
    ~TScreenCapture_StreameSet_Form() override;

    // Fills the dialog from share (nothing for none). captureKind is the capKind of the share's capture
    // job; none when the share belongs to no job.
    void LoadShare(const engine::PCaptureStreamer& share, std::optional<uint8_t> captureKind);
    void StoreShare(engine::TCaptureStreamer& share) const;
    void ArrangeProtocol();

    // Buttons.
    void OK_BitBtnClick();
    void Cancel_BitBtnClick();

    // Every way of cancelling does what Cancel does: after a refused OK the share ends inactive.
    void reject() override;

    const engine::PCaptureStreamer& Share() const { return share_; }
    bool OkFailed() const { return okFailed_; }
    TFtpLog_Form& FtpLog() { return *ftpLog_; }

    QScrollArea* Scroll_Box;  // every part but the buttons
    QWidget* Bottom_Panel;
    QComboBox* Protocol_ComboBox;
    QCheckBox* Active_CB;
    QCheckBox* Video_CB;
    QCheckBox* Img_CB;
    QCheckBox* Files_CB;
    QWidget* IP_Panel;
    TMod_IpAddr_Port_Frame* IpAddr_Frame;
    QWidget* Dest_Panel;
    QTabWidget* WebServer_PageControl;
    TShareWebServerPage* WebServerPage;  // "Config"
    TShareFilesPage* FilesPage;          // "Files"
    TShareFtpGroup* FtpGroup;
    QPushButton* OK_BitBtn;
    QPushButton* Cancel_BitBtn;
    QPushButton* Help_BitBtn;

protected:
    // Every opening shows the dialog at the same place, centred on its monitor, as the first.
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void BuildControls();
    QWidget* BuildDestPanel();
    void ConnectRules();
    // The first failed check's message, none when the input passes; tidies the sub-folder on the way.
    std::optional<QString> CheckInput();
    uint8_t SelectedProtocol() const;

    std::unique_ptr<TScreenFit> screenFit_;
    TShareEditorContext context_;
    engine::PCaptureStreamer share_;
    bool okFailed_ = false;
    std::unique_ptr<TFtpLog_Form> ftpLog_;
};

}  // namespace app
