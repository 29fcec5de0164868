// Framewick's main window, TLumora_MainForm: the owner of the capture services, web servers and web
// sockets, of one capture panel per capture service, the tool bar, the status bar, the log queue and
// the timers that drive the user interface.
//
// Its life: FormCreate (settings, pools, lists, the filter probe) → shown → FormShow (libVLC, the
// list files, a first capture service if none) → 100 ms later the one-shot start (web servers, pipe,
// captures marked to start, tray icon, archive thread) → running → closing (stop, save, free in order).
//
// Its member functions are kept in files named after their job: MainForm.cpp (making, FormCreate),
// MainFormShow.cpp (the first showing), MainFormStart.cpp (the 100 ms start and the compact-mode
// restore), MainFormNotify.cpp (notifications, log and status timers), MainFormCaptures.cpp (capture
// services, web servers, the engine's lookups), MainFormSettingsRoad.cpp, MainFormLayout.cpp (log
// window, height, compact mode) and MainFormClose.cpp.
//
// The other window groups plug their windows in through TMainFormParts (MainFormParts.h): the capture
// panel, tool bar, status bar, log window, capture-service editor, settings dialog, About box, wait
// window and splash. A capture service without a panel is started and stopped directly.
//
// Everything runs on the user-interface thread except the web servers' lookups (FindShareIdForPath,
// under GlobalLock) and their log event, which only queues. The capture list and the share lists are
// changed under GlobalLock, so a lookup never walks a list being changed.
#pragma once

#include <QLocalServer>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
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
#include "app/log/FilterLogQueue.h"
#include "app/log/MainLog.h"
#include "app/mainform/KsaTimer.h"
#include "app/mainform/LibVlcCheck.h"
#include "app/mainform/MainFormDialogs.h"
#include "app/mainform/MainFormHttpHost.h"
#include "app/mainform/MainFormParts.h"
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
inline constexpr int kLogTimerMs = 1000;
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
        std::string InstallerPath;                           // the library installer's program file
        std::function<std::optional<engine::TInstalledVlc>()> FindInstalledVlc;  // none: the system's libVLC
        // Ends the process at once (the hard exits); none: _exit.
        std::function<void(int exitCode)> EndProcess;
        // After the closing has freed everything (the program ends its message loop here).
        std::function<void()> Closed;
        // What keeps the screen awake while captures run; none: the X display of $DISPLAY.
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
    TCaptureList& CaptureList() { return captureList_; }
    THttpServerList& HttpServerList() { return httpServerList_; }
    TWebSocketList& WebSocketList() { return webSocketList_; }
    std::shared_ptr<engine::TScreenCapture> CaptureOf(const TCaptureListEntry& entry) const;
    ICapturePanel* PanelOf(const TCaptureListEntry& entry) const;

    void StartStopAll(bool start);
    void StartStopHttpServers(bool start);
    void SetHttpLeds(const THttpServerEntry& server, bool on);
    // Starts or stops one capture service through its panel (or directly without one).
    void StartStopCapture(TCaptureListEntry& entry, bool start);
    // A new capture service through the capture-service editor; false when cancelled. The caller saves.
    bool AddCapture();
    // After the editor's OK on a new capture service: its job is prepared and its panel filled.
    void NewCaptureEdited(TCaptureListEntry& entry);
    // Frees the service's panel and job and removes it from the list.
    void FreeCaptureEntry(TCaptureListEntry& entry);
    void OpenSettings();
    void ToggleLogWindow();
    void ShowLogWindow(bool show);
    void AdjustHeight();
    void FocusStatusBar();
    void SetCompactMode(bool keepPosition);
    bool Compact() const { return compact_; }
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
    bool AnyCaptureRunning() const;
    // An exception that reached the message loop: reported in the log, or, while closing, the end.
    void ApplicationEvents1Exception(const std::string& message);
    int IndexOfCaptureEntry(const TCaptureListEntry* entry) const;
    TCaptureListEntry* FindEntryByIdx(int32_t idx) const;
    TCaptureListEntry* FindEntryByCapture(const engine::TScreenCapture* capture) const;
    // Saves capture.xml with the jobs' current settings and shares.
    bool SaveCaptureList();

    // The engine's lookups.
    std::shared_ptr<THttpServerEntry> FindHttpServerEntry(int32_t ipAddr, int32_t port) const;
    // The share whose sub-folder occurs in path (the last capture service with one wins); caller holds GlobalLock.
    const engine::TCaptureStreamer* FindStreamerByPath(const std::string& path) const;

    // The log: WriteLog on this thread only; HandleHttpServerLog on any. Without a log window part the
    // window keeps the log itself (MainLog).
    void WriteLog(const std::string& text, uint8_t level);
    const TMainLog& MainLog() const { return log_; }
    static void HandleHttpServerLog(const engine::TCaptureHttpServer& sender, const std::string& text);

    // The window that receives wmCaptureNotify.
    platform::WindowHandle WindowHandle() const { return notifyTarget_.Handle(); }
    bool PipeServerActive() const { return pipeServer_.isListening(); }
    bool ArchiveThreadRunning() const { return archiveThread_ != nullptr; }

    // IListFileHost
    std::unique_ptr<TCaptureListEntry> InitCaptureEntry() override;
    void CaptureEntryLoaded(TCaptureListEntry& entry) override;
    std::unique_ptr<engine::TCaptureHttpServer> CreateHttpServer(int idx) override;
    std::unique_ptr<engine::TWebSocketFilterGraph> CreateWebSocketGraph() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;  // snaps to the edges of the work area

private:
    struct TCaptureService {
        std::shared_ptr<engine::TScreenCapture> Capture;
        std::unique_ptr<ICapturePanel> Panel;
    };

    void FormClose();
    void ShowTimerTimer();
    void MinTimerTimer();
    // The compact mode saved at the last closing comes back, once the start-up's steps are done.
    void RestoreCompactMode();
    void LogTimerTimer();
    // Writes every queued log line, oldest first.
    void WriteQueuedLog();
    void StatusTimerTimer();
    void WMCaptureNotify(intptr_t wParam, intptr_t lParam);
    void HandleCaptureLog(const std::string& text, uint8_t level);
    void HandleCaptureRestart(engine::TScreenCapture& sender);
    void StopCapturesForDiskSpace(const std::vector<int32_t>& indices);

    TLibVlcCheck MakeLibVlcCheck();
    bool RunLibVlcCheck();
    void LoadLists();
    void PlaceWindow();
    void EndProcess(int exitCode);
    // Frees services whose entry did not make it into the list (a reader that stopped half-way).
    void ForgetUnlistedServices();
    void UpdateArchiveIndices();
    engine::TCaptureStreamer* FindShareById(engine::TShareId id) const;
    // The entry's saved settings follow its job's (the job is what the editors change); the shares
    // are one list already.
    void CopyJobParamsIntoEntry(TCaptureListEntry& entry) const;
    void StartTimer(QTimer& timer, int intervalMs, bool singleShot, void (TLumora_MainForm::*tick)());
    static void CallIfSet(const std::function<void()>& f) {
        if (f) f();
    }
    // A bar of fixed height has no size hint of its own: its minimum height is its height.
    int BarHeight(QWidget* bar) const {
        return bar != nullptr ? std::max({bar->minimumHeight(), bar->sizeHint().height(), 0}) : 0;
    }

    TOptions options_;
    std::shared_ptr<IMainFormDialogs> dialogs_;
    std::shared_ptr<platform::IProcessStarter> starter_;
    std::shared_ptr<engine::IErrorBox> errorBox_;
    platform::MessageTarget notifyTarget_;
    std::shared_ptr<TMainFormHttpHost> httpHost_;
    TArchiveStopHandOver archiveHandOver_;
    std::unique_ptr<TArchiveThread> archiveThread_;

    TCaptureList captureList_;
    THttpServerList httpServerList_;
    TWebSocketList webSocketList_;
    std::map<const TCaptureListEntry*, TCaptureService> services_;
    std::unique_ptr<engine::TMsPool> msPool_;
    TMainLog log_;

    QVBoxLayout* layout_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QWidget* panelHolder_ = nullptr;
    QVBoxLayout* panelLayout_ = nullptr;
    std::unique_ptr<IToolBar> toolBar_;
    std::unique_ptr<IStatusBar> statusBar_;
    QLocalServer pipeServer_;
    QTimer showTimer_, minTimer_, logTimer_, statusTimer_;
    std::unique_ptr<TKsaTimer> ksa_;
    std::unique_ptr<TFilterLogQueue> filterLog_;  // from FormCreate on

    bool shown_ = false;
    bool ended_ = false;
    bool startUpDone_ = false;
    bool closed_ = false;
    bool listsLoaded_ = false;  // a closing before the first showing read them must not save empty lists
    bool compact_ = false;
    bool compactRestoreDue_ = false;  // Min_Timer fired before the start-up's steps were done
    int savedClientHeight_ = 0;
    int savedClientWidth_ = kMainWindowWidthPx;
};

}  // namespace app
