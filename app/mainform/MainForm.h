// Framewick's main window, TLumora_MainForm: it holds the capture services (TCaptureServices: the
// capture list with each service's job and panel), the web servers (TWebServers), the web sockets, the
// tool bar, the status bar, its log (TMainWindowLog) and the timers that drive the user interface, and
// shows the services' panels, kept inside the monitor's work area (TWorkAreaFit).
//
// Its life: FormCreate (settings, pools, lists, the filter probe) → shown → FormShow (libVLC, the
// list files, a first capture service if none) → 100 ms later the one-shot start (web servers, pipe,
// captures marked to start, tray icon, archive thread) → running → closing (stop, save, free in order).
//
// Its member functions are kept in files named after their job: MainForm.cpp (making, FormCreate),
// MainFormShow.cpp (the first showing), MainFormStart.cpp (the 100 ms start and the compact-mode
// restore), MainFormNotify.cpp (notifications and the status timer), MainFormCaptures.cpp (making,
// adding and freeing capture services, start and stop of everything), MainFormSettings.cpp (the
// settings sequence), MainFormLayout.cpp (log window, height, compact mode) and MainFormClose.cpp.
//
// The other window groups plug their windows in through TMainFormParts (MainFormParts.h): the capture
// panel, tool bar, status bar, log window, capture-service editor, settings dialog, About box, wait
// window and splash. Each capture service is started and stopped by its TCaptureService, which tells
// the service's panel, when there is one.
//
// Everything runs on the user-interface thread except the web servers' share question (asked of the
// capture services under GlobalLock) and their log event, which only queues. The capture list and the
// share lists are changed under GlobalLock, so a lookup never walks a list being changed.
#pragma once

#include <QLocalServer>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/archive/ArchiveStopHandOver.h"
#include "app/archive/ArchiveThread.h"
#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/lists/list_file_host.h"
#include "app/lists/web_socket_list.h"
#include "app/mainform/CaptureServices.h"
#include "app/mainform/CompactMode.h"
#include "app/mainform/KsaTimer.h"
#include "app/mainform/LibVlcCheck.h"
#include "app/mainform/MainFormDialogs.h"
#include "app/mainform/MainFormParts.h"
#include "app/mainform/MainWindowLog.h"
#include "app/mainform/WebServers.h"
#include "app/mainform/WorkAreaFit.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/graphs/ErrorBox.h"
#include "engine/util/ms_pool.h"
#include "platform/process/ProcessStarter.h"
#include "platform/ui/message_target.h"

namespace app {

inline constexpr const char* kMainCaption = "Framewick";
inline constexpr const char* kPipeName = "Ostrel_LumoraTovrelPipe_0";
inline constexpr int kMainWindowWidthPx = 550;
inline constexpr int kShowTimerMs = 100;
inline constexpr int kMinTimerMs = 100;
inline constexpr int kMainStatusTimerMs = 1000;
inline constexpr int kListDocPoolSize = 10;
inline constexpr int kMemoryStreamPoolSize = 50;
inline constexpr int kEmptyScrollBoxHeightPx = 20;

// Exit codes of the hard exits (the process ends at once, nothing saved).
enum : int { kExitFilterProbeFailed = 2, kExitVlcDownload = 3, kExitNoCapture = 4, kExitCloseFailed = 5 };

// The caption: "Framewick", or "[n] Framewick" for instance n above 0.
std::string MainCaption(int instanceIndex);

class TLumora_MainForm : public QWidget, public IListFileHost {
public:
    struct TOptions {
        TMainFormParts Parts;
        std::shared_ptr<IMainFormDialogs> Dialogs;           // none: the custom-button message dialog
        std::shared_ptr<platform::IProcessStarter> Starter;  // none: detached processes
        std::function<std::optional<engine::TInstalledVlc>()> FindInstalledVlc;  // none: the system's libVLC
        // Ends the process at once (the hard exits); none: _exit.
        std::function<void(int exitCode)> EndProcess;
        // After the closing has freed everything (the program ends its message loop here).
        std::function<void()> Closed;
        // What keeps the screen awake while DeactScreenSaver is set; none: the X display of $DISPLAY.
        std::function<std::unique_ptr<platform::IKeepAwake>()> MakeKeepAwake;
    };

    explicit TLumora_MainForm(TOptions options, QWidget* parent = nullptr);
    ~TLumora_MainForm() override;

    // False when the process was ended (failed filter probe).
    bool FormCreate();
    // The first showing (runs once, from the first show event); false when the process was ended or
    // the session ended on the way (the closing follows).
    bool FormShow();
    // Runs the first showing without showing the window, for a start that leaves the window hidden.
    void BeginFirstShowing();
    bool Ended() const { return ended_; }
    bool FormClosed() const { return closed_; }
    bool StartUpDone() const { return startUpDone_; }

    // The lists. Change them on this thread only, under GlobalLock.
    TCaptureList& CaptureList() { return captures_->List(); }
    THttpServerList& HttpServerList() { return webServers_.List(); }
    TWebSocketList& WebSocketList() { return webSocketList_; }
    TCaptureServices& Captures() { return *captures_; }
    TWebServers& WebServers() { return webServers_; }

    void StartStopAll(bool start);
    // A new capture service with its job and its panel (placed last), not yet listed.
    std::unique_ptr<TCaptureListEntry> InitCaptureEntry();
    // A new capture service through the capture-service editor; false when cancelled. The caller saves.
    bool AddCapture();
    // After the editor's OK on a new capture service: its job is prepared and its panel filled.
    void NewCaptureEdited(TCaptureListEntry& entry);
    // Frees the service's panel and job and removes it from the list.
    void FreeCaptureEntry(TCaptureListEntry& entry);
    void OpenSettings();
    void ToggleLogWindow();
    void ShowLogWindow(bool show);
    // The height that holds the bars and every panel, kept inside the monitor's work area: a window
    // that grows is moved up first; what is still too tall is cut, and its panels scroll.
    void AdjustHeight();
    void FocusStatusBar();
    void SetCompactMode(bool keepPosition);
    bool Compact() const { return compact_->On(); }
    bool AnyPanelExpanded() const;
    void SetAllPanelsMinimized(bool minimize);
    void CloseSplash();
    // The libVLC installer (or the message that it is missing); the process then ends (KillOwnProcess).
    void StartDownloader();
    void KillOwnProcess() { EndProcess(kExitVlcDownload); }
    void CloseApp() { close(); }
    void ShowAbout();
    void SetKsaTimer(bool on);
    bool KsaTimerOn() const { return ksa_->Enabled(); }
    bool KeepingAwake() const { return ksa_->Holding(); }
    // An exception that reached the message loop: reported in the log, or, while closing, the end.
    void ApplicationEvents1Exception(const std::string& message);
    // Saves capture.xml with the jobs' current settings and shares.
    bool SaveCaptureList();

    // The log, on this thread only. Without a log window part the window keeps the log itself (MainLog).
    void WriteLog(const std::string& text, uint8_t level);
    const TMainLog& MainLog() const { return log_.Own(); }

    // The window that receives wmCaptureNotify.
    platform::WindowHandle WindowHandle() const { return notifyTarget_.Handle(); }
    bool PipeServerActive() const { return pipeServer_.isListening(); }
    bool ArchiveThreadRunning() const { return archiveThread_ != nullptr; }

    // IListFileHost
    std::shared_ptr<engine::TScreenCapture> CreateCapture(int32_t idx) override;
    std::unique_ptr<engine::TCaptureHttpServer> CreateHttpServer(int idx) override;
    std::unique_ptr<engine::TWebSocketFilterGraph> CreateWebSocketGraph() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;  // snaps to the edges of the work area

private:
    void FormClose();
    void ShowTimerTimer();
    void MinTimerTimer();
    void StatusTimerTimer();
    void WMCaptureNotify(intptr_t wParam, intptr_t lParam);
    void HandleCaptureLog(const std::string& text, uint8_t level);
    void HandleCaptureRestart(engine::TScreenCapture& sender);

    TLibVlcCheck MakeLibVlcCheck();
    bool RunLibVlcCheck();
    void LoadLists();
    // A capture service read from capture.xml: its service and panel made, its job prepared, the panel
    // filled.
    void ShowLoadedCapture(TCaptureListEntry& entry);
    // The entry's TCaptureService and the panel that shows it, placed last in the scroll box (no panel
    // without a panel part).
    void MakeServiceAndPanel(TCaptureListEntry& entry);
    void PlaceWindow();
    void EndProcess(int exitCode);
    void StartTimer(QTimer& timer, int intervalMs, bool singleShot, void (TLumora_MainForm::*tick)());
    static void CallIfSet(const std::function<void()>& f) {
        if (f) f();
    }
    QWidget* ToolBarWidget() const { return toolBar_ ? toolBar_->Widget() : nullptr; }
    QWidget* StatusBarWidget() const { return statusBar_ ? statusBar_->Widget() : nullptr; }

    TOptions options_;
    std::shared_ptr<IMainFormDialogs> dialogs_;
    std::shared_ptr<platform::IProcessStarter> starter_;
    std::shared_ptr<engine::IErrorBox> errorBox_;
    platform::MessageTarget notifyTarget_;
    TMainWindowLog log_;
    std::shared_ptr<TCaptureServices> captures_;  // the web servers hold it too
    TWebServers webServers_;
    TArchiveStopHandOver archiveHandOver_;
    std::unique_ptr<TArchiveThread> archiveThread_;

    TWebSocketList webSocketList_;
    std::unique_ptr<engine::TMsPool> msPool_;

    QVBoxLayout* layout_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QWidget* panelHolder_ = nullptr;
    QVBoxLayout* panelLayout_ = nullptr;
    std::unique_ptr<TCompactMode> compact_;  // over the scroll box
    std::unique_ptr<TWorkAreaFit> workAreaFit_;
    std::unique_ptr<IToolBar> toolBar_;
    std::unique_ptr<IStatusBar> statusBar_;
    QLocalServer pipeServer_;
    QTimer showTimer_, minTimer_, statusTimer_;
    std::unique_ptr<TKsaTimer> ksa_;

    bool shown_ = false;
    bool ended_ = false;
    bool startUpDone_ = false;
    bool closed_ = false;
    bool listsLoaded_ = false;  // a closing before the first showing read them must not save empty lists
};

}  // namespace app
