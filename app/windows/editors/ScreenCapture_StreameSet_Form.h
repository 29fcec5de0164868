// The share editor: one share of a capture job (active, protocol, content, UDP destination or web
// server with sub-folder, extra files and own index.html, FTP mirror) and the check of its FTP settings.
// Created once and reused: LoadShare, modal show, and on OK the caller's StoreShare. OK refuses input
// that fails a check with a message box and keeps the dialog open; Cancel after such a refusal leaves
// the share inactive.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/capture/settings/CaptureStreamer.h"
#include "engine/ftp/curl_ftp_session.h"

namespace app {

class IFileChooser;
class TCaptureList;
class TFtpLog_Form;
class THtml_Form;
class THttpServerEntry;
class THttpServerList;
class TMod_IpAddr_Port_Frame;
class TScreenFit;

constexpr int kRootLabelWidthPx = 445;
constexpr int kIndexLabelWidthPx = 400;
constexpr int kMinFtpUploadFreqS = 1;
constexpr int kMaxFtpUploadFreqS = 60;
constexpr int kMaxUdpPort = 65535;  // itself refused
constexpr int kWebServerChoiceChars = 48;  // "[00] - EXT - 255.255.255.255:65535 (" + a short name + ")"

struct TShareEditorContext {
    THttpServerList* HttpServers = nullptr;
    const TCaptureList* CaptureList = nullptr;   // for the check that a share folder is free
    IFileChooser* FileChooser = nullptr;         // the index.html and "Add File" buttons
    THtml_Form* HtmlForm = nullptr;              // "Edit Index-HTML"
    std::function<void()> AddHttpServer;                     // the settings dialog's add road
    std::function<void(THttpServerEntry& entry)> EditHttpServer;  // its edit road, Test button disabled
    std::function<void()> SaveHttpServerList;                // httpserv.xml
    std::function<void(const QString& anchor)> ShowHelp;
    // The FTP check's session; empty: the libcurl session.
    std::function<std::unique_ptr<engine::FtpSession>(const engine::FtpLogin& login)> MakeFtpSession;
};

class TScreenCapture_StreameSet_Form : public QDialog {
public:
    explicit TScreenCapture_StreameSet_Form(TShareEditorContext context, QWidget* parent = nullptr);
    ~TScreenCapture_StreameSet_Form() override;

    // Fills the dialog from share (nothing for none). captureKind is the capKind of the share's capture
    // job; none when the share belongs to no job.
    void LoadShare(const engine::PCaptureStreamer& share, std::optional<uint8_t> captureKind);
    void StoreShare(engine::TCaptureStreamer& share) const;
    void FillWebServerList(engine::TCaptureStreamer& share);
    void ArrangeProtocol();
    void EnableFileControls(bool on);

    // Buttons.
    void OK_BitBtnClick();
    void Cancel_BitBtnClick();
    void CheckFtp_TBClick();
    void WebAdd_TBClick();
    void WebEdit_TBClick();
    void IdxFile_TBClick();
    void EditIdx_TBClick();
    void DefIdx_TBClick();
    void AddFile_TBClick();
    void DelFile_TBClick();

    // Every way of cancelling runs the Cancel road: after a refused OK the share ends inactive.
    void reject() override;

    const engine::PCaptureStreamer& Share() const { return share_; }
    const std::string& ShareIndexFile() const { return shareIndexFile_; }
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
    QComboBox* WebServer_ComboBox;
    QToolButton* WebAdd_TB;
    QToolButton* WebEdit_TB;
    QLineEdit* LocalDir_Edit;
    QToolButton* GetCompName_TB;
    QLabel* Root_Label;
    QCheckBox* FilesAct_CB;
    QLabel* IdxHtml_Label;
    QToolButton* IdxFile_TB;
    QToolButton* EditIdx_TB;
    QToolButton* DefIdx_TB;
    QListWidget* File_ListBox;
    QToolButton* AddFile_TB;
    QToolButton* DelFile_TB;
    QCheckBox* Ftp_CB;
    QLineEdit* Host_Edit;
    QLineEdit* User_Edit;
    QLineEdit* Pw_Edit;
    QLineEdit* HostDir_Edit;
    QToolButton* Computer_TB;
    QSpinBox* ImgFreq_SpinEdit;
    QCheckBox* CheckBox1;
    QToolButton* CheckFtp_TB;
    QPushButton* OK_BitBtn;
    QPushButton* Cancel_BitBtn;
    QPushButton* Help_BitBtn;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<TScreenFit> screenFit_;
    void BuildControls();
    QWidget* BuildDestPanel();
    void ConnectRules();
    // The first failed check's message, none when the input passes; tidies the sub-folder on the way.
    std::optional<QString> CheckInput();
    std::shared_ptr<THttpServerEntry> SelectedServer() const;
    void ShowRoot(const THttpServerEntry* entry);
    void ShowIndexFile();
    // Copies file to the share's page folder as name; the copy's path, "" when it failed.
    std::string CopyIntoHtmlDir(const std::string& file, const std::string& name) const;
    uint8_t SelectedProtocol() const;

    TShareEditorContext context_;
    engine::PCaptureStreamer share_;
    std::string shareIndexFile_;
    bool okFailed_ = false;
    std::unique_ptr<TFtpLog_Form> ftpLog_;
};

}  // namespace app
