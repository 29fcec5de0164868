// Hollarin's install window. At creation it settles the wanted libVLC version and the library folder
// and loads the libVLC found there; when shown it insists on administrator rights and a writable
// program folder and explains the situation. "Get VLC" downloads the release archive (the wait window
// shows the progress), extracts it and installs its libraries into the library folder; the version
// panel and the "VLC" LED then show what loaded.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "installer/CommandLine.h"
#include "installer/DownloadNaming.h"
#include "installer/HttpClient.h"
#include "platform/ui/message_target.h"

class QLabel;

namespace hollarin {

class IInstallerHost;
class TCanvasPanelEx;
class TDisplayMemo;
class TInstallerVlcLib;
class TLed;
class TRunFolder;
class TUnzip;
class TVlcDownload;
class TWait_Form;
struct TDownloadResult;
struct TInstallResult;
enum class TUnzipFailure;

// The archive size the gauge starts with until the real length arrives.
constexpr int kExpectedArchiveBytes = 35617000;
constexpr int kInstallWindowWidth = 471;
constexpr int kInstallWindowHeight = 400;
// The window's help: this file in the help folder, at this context.
constexpr const char* kHelpFileName = "Morvalt.chm";
constexpr int kInstallWindowHelpContext = 2;

struct TInstallFormSetup {
    TCommandLine CommandLine;
    std::string DownloadServer = kVlcDownloadServer;  // may carry a port
    std::string TempFolder;                           // where each download makes its working folder; "": the system's
    std::string ProgramFolder;                        // where the write test writes; "": the program's own
    std::shared_ptr<THttpClient> HttpClient;          // null: libcurl
};

class TFaldrin_Install_Form : public QWidget {
public:
    TFaldrin_Install_Form(TInstallFormSetup setup, TWait_Form& waitForm, IInstallerHost& host,
                          TInstallerVlcLib& binding);
    ~TFaldrin_Install_Form() override;

    void GetVlc_TBClick();
    void Cancel_TBClick();
    // The help file at the window's context; on this platform the help launcher's "not found" or
    // "not available" message.
    void Help_TBClick();
    // Asks a running download or extraction to end and forgets it: no completion follows, nothing is
    // installed, the wait window goes. The threads let go of the working folder as they end, and the
    // last of them removes it.
    void EndWorkers();

    const std::string& WantedVlcVersion() const { return wantedVlcVersion_; }
    const std::string& LibVlcDir() const { return libVlcDir_; }
    const std::string& VlcVersionText() const { return vlcVersionText_; }
    bool VlcOk() const { return vlcOk_; }
    bool Rights() const { return rights_; }
    bool Busy() const { return download_ != nullptr || unzip_ != nullptr; }
    TCanvasPanelEx& GetVlcButton() { return *getVlcButton_; }
    TCanvasPanelEx& ExitButton() { return *exitButton_; }
    TCanvasPanelEx& HelpButton() { return *helpButton_; }
    const QString& HelpFile() const { return helpFile_; }
    int HelpContext() const { return helpContext_; }
    TLed& VlcLed() { return *vlcLed_; }
    TLed& AdminLed() { return *adminLed_; }
    QString VersionPanelText() const;
    bool AdminLabelShown() const;
    QString MemoText() const;
    // The handle the download thread posts its 0xAB90 messages to.
    platform::WindowHandle MessageHandle() const { return messages_.Handle(); }

    // The memo's text for the wanted version.
    static QString InformationText(const std::string& wantedVersion);

protected:
    void showEvent(QShowEvent* event) override;
    // However the window is closed (Exit, the window manager), a download or extraction ends with it.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void FormCreate();
    void FormShow();
    bool WriteTest() const;
    void ShowVersion(const std::string& versionText);
    void OnMessage(uint32_t msg, intptr_t wParam, intptr_t lParam);
    // False, after a message box saying why, when the library folder may not be installed into.
    bool AcceptInstallTarget();
    void StartDownload(const std::string& url);
    void DownloadDone(const TDownloadResult& result);
    void InstallLibraries(int code, bool done);
    void ReportInstall(const TInstallResult& result);
    void ReportUnzipFailure(TUnzipFailure failure);
    void ShowInstallError(const QString& what);
    // Removes the download's working folder; the run is over.
    void EndRun();
    void BreakOff(int mode);

    TInstallFormSetup setup_;
    TWait_Form& wait_;
    IInstallerHost& host_;
    TInstallerVlcLib& binding_;

    std::string wantedVlcVersion_;
    std::string libVlcDir_;
    std::string vlcVersionText_;
    bool vlcOk_ = false;
    bool rights_ = true;

    TCanvasPanelEx* titlePanel_ = nullptr;
    TDisplayMemo* memo_ = nullptr;
    QLabel* versionPanel_ = nullptr;
    TLed* vlcLed_ = nullptr;
    TLed* adminLed_ = nullptr;
    QLabel* adminLabel_ = nullptr;
    TCanvasPanelEx* getVlcButton_ = nullptr;
    TCanvasPanelEx* exitButton_ = nullptr;
    TCanvasPanelEx* helpButton_ = nullptr;  // "Help": laid out but not shown
    QString helpFile_;
    int helpContext_ = 0;

    std::shared_ptr<TRunFolder> run_;  // of the download in progress, from "Get VLC" to the end of the install step
    std::unique_ptr<TVlcDownload> download_;
    std::unique_ptr<TUnzip> unzip_;
    platform::MessageTarget messages_;
};

// SetLedOk: a custom colour pair, green when ok, else red.
void SetLedOk(TLed& led, bool ok);

}  // namespace hollarin
