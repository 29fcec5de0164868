#include "app/MainForm.h"

#include <unistd.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <ctime>
#include <exception>

#include "app/ArchiveGuard.h"
#include "app/IndexTemplate.h"
#include "app/LogQueue.h"
#include "app/SplashSettings.h"
#include "app/settings/app_globals.h"
#include "app/settings/capture_list_file.h"
#include "app/settings/http_server_list_file.h"
#include "app/settings/registry_store.h"
#include "app/settings/settings_ini.h"
#include "app/settings/vlc_registry_preferences.h"
#include "app/settings/web_socket_list_file.h"
#include "engine/capture/ShareDefaultsFromSettings.h"
#include "engine/graphs/SpreadFilterGraph.h"
#include "engine/settings/counters.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/monitors.h"

namespace app {
namespace {

// The filter probe's message box, shown through the window's dialogs.
class TDialogErrorBox final : public engine::IErrorBox {
public:
    explicit TDialogErrorBox(std::shared_ptr<IMainFormDialogs> dialogs) : dialogs_(std::move(dialogs)) {}
    void ShowError(const std::string& caption, const std::string& text) override {
        dialogs_->Ask(TDialogKind::Error, caption, text, "OK", "");
    }

private:
    std::shared_ptr<IMainFormDialogs> dialogs_;
};

void CallIfSet(const std::function<void()>& f) {
    if (f) f();
}

std::string NowText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const TLocaleSettings locale = LocaleSettings();
    char buffer[128] = {};
    std::strftime(buffer, sizeof buffer, (locale.DateFormat + " " + locale.TimeFormat).c_str(), &local);
    return buffer;
}

}  // namespace

std::string MainCaption(int instanceIndex) {
    return instanceIndex > 0 ? "[" + std::to_string(instanceIndex) + "] " + kMainCaption : std::string(kMainCaption);
}

TLumora_MainForm::TLumora_MainForm(TOptions options, QWidget* parent)
    : QWidget(parent),
      options_(std::move(options)),
      dialogs_(options_.Dialogs ? options_.Dialogs : std::make_shared<TMsgDlgDialogs>()),
      starter_(options_.Starter ? options_.Starter : std::make_shared<platform::TDetachedProcessStarter>()),
      errorBox_(std::make_shared<TDialogErrorBox>(dialogs_)),
      notifyTarget_([this](uint32_t msg, intptr_t wParam, intptr_t lParam) {
          if (msg == engine::kWmCaptureNotify) WMCaptureNotify(wParam, lParam);
      }),
      httpHost_(std::make_shared<TMainFormHttpHost>(
          [this](const std::string& path) -> engine::TShareId {
              const engine::TCaptureStreamer* share = FindStreamerByPath(path);
              return share != nullptr ? share->Index : 0;
          },
          notifyTarget_.Handle())),
      archiveHandOver_([this](const std::vector<int32_t>& indices) { StopCapturesForDiskSpace(indices); }) {
    setObjectName("TLumora_MainForm");
    setWindowFlag(Qt::FramelessWindowHint);
    setFixedWidth(kMainWindowWidthPx);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x30, 0x3F, 0x3E));  // 0x3E3F30 as 0x00BBGGRR
    setPalette(colours);

    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    scrollBox_ = new QScrollArea(this);
    scrollBox_->setFrameShape(QFrame::NoFrame);
    scrollBox_->setWidgetResizable(true);
    panelHolder_ = new QWidget(scrollBox_);
    panelLayout_ = new QVBoxLayout(panelHolder_);
    panelLayout_->setContentsMargins(0, 0, 0, 0);
    panelLayout_->setSpacing(0);
    panelLayout_->addStretch(1);
    scrollBox_->setWidget(panelHolder_);
}

TLumora_MainForm::~TLumora_MainForm() {
    if (!closed_ && !ended_) FormClose();
    httpHost_->Detach();
}

void TLumora_MainForm::EndProcess(int exitCode) {
    ended_ = true;
    if (options_.EndProcess) {
        options_.EndProcess(exitCode);
        return;
    }
    ::_exit(exitCode);
}

void TLumora_MainForm::StartTimer(QTimer& timer, int intervalMs, bool singleShot, void (TLumora_MainForm::*tick)()) {
    timer.setInterval(intervalMs);
    timer.setSingleShot(singleShot);
    QObject::disconnect(&timer, nullptr, this, nullptr);
    QObject::connect(&timer, &QTimer::timeout, this, [this, tick] { (this->*tick)(); });
    timer.start();
}

bool TLumora_MainForm::FormCreate() {
    // The DirectX check has no counterpart here: the filters are probed below.
    setWindowTitle(QString::fromStdString(MainCaption(InstanceIndex)));
    engine::AppClosing = false;
    LoadIniFile();
    SetListDocPool(std::make_unique<engine::TXmlDocPool>(kListDocPoolSize));
    msPool_ = std::make_unique<engine::TMsPool>(kMemoryStreamPoolSize);
    StartTimer(logTimer_, kLogTimerMs, false, &TLumora_MainForm::LogTimerTimer);
    SetIndexPage(LoadIndexTemplate(engine::Settings()->HtmlDir));
    SetKsaTimer(engine::Settings()->DeactScreenSaver);
    if (!engine::TSpreadFilterGraph::ProbeFilters(errorBox_.get())) {
        EndProcess(kExitFilterProbeFailed);
        return false;
    }
    if (options_.Parts.MakeToolBar) toolBar_ = options_.Parts.MakeToolBar(*this);
    if (options_.Parts.MakeStatusBar) statusBar_ = options_.Parts.MakeStatusBar(*this);
    if (toolBar_) layout_->addWidget(toolBar_->Widget());
    layout_->addWidget(scrollBox_, 1);
    if (statusBar_) layout_->addWidget(statusBar_->Widget());
    return true;
}

void TLumora_MainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    BeginFirstShowing();
}

void TLumora_MainForm::BeginFirstShowing() {
    if (shown_) return;
    shown_ = true;
    // Out of the show event: the first showing may open dialogs.
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

TLibVlcCheck TLumora_MainForm::MakeLibVlcCheck() {
    TLibVlcCheckServices services;
    if (options_.FindInstalledVlc) services.FindInstalledVlc = options_.FindInstalledVlc;
    services.Dialogs = dialogs_.get();
    services.Starter = starter_.get();
    services.InstallerPath = options_.InstallerPath;
    services.CloseSplash = [this] { CloseSplash(); };
    services.ShowWaitForm = options_.Parts.ShowWaitForm;
    services.CloseWaitForm = options_.Parts.CloseWaitForm;
    return TLibVlcCheck(AppPaths()->LibVlcDir, std::move(services));
}

bool TLumora_MainForm::RunLibVlcCheck() {
    if (engine::VlcMissing) return true;
    if (MakeLibVlcCheck().Run() == TLibVlcCheckResult::EndProgram) {
        EndProcess(kExitVlcDownload);
        return false;
    }
    return true;
}

bool TLumora_MainForm::FormShow() {
    StartTimer(statusTimer_, kMainStatusTimerMs, false, &TLumora_MainForm::StatusTimerTimer);
    if (!RunLibVlcCheck()) return false;
    PlaceWindow();
    WriteLog("Framewick Start [" + NowText() + "]", engine::kLogSystem);
    if (toolBar_) toolBar_->InitToolBar();
    if (statusBar_) statusBar_->InitStatusBar();
    LoadLists();
    if (captureList_.Count() == 0) {
        CloseSplash();
        AddCapture();
        SaveCaptureList();
        if (captureList_.Count() == 0) {
            EndProcess(kExitNoCapture);
            return false;
        }
    }
    StartTimer(showTimer_, kShowTimerMs, true, &TLumora_MainForm::ShowTimerTimer);
    StartTimer(minTimer_, kMinTimerMs, true, &TLumora_MainForm::MinTimerTimer);
    FocusStatusBar();
    return true;
}

void TLumora_MainForm::PlaceWindow() {
    int left = 0;
    int top = 0;
    if (!ReadFormOrigin("main", left, top)) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, width(), height());
        left = std::max(0, area.left() + (area.width() - width()) / 2);
        top = std::max(0, area.top() + (area.height() - height()) / 2);
    }
    move(left, top);
}

void TLumora_MainForm::LoadLists() {
    std::lock_guard lock(engine::GlobalLock());
    const std::shared_ptr<const TAppPaths> paths = AppPaths();
    app::LoadHttpServerList(ListDocPool(), paths->HttpServerListFile, *this, httpServerList_);
    app::LoadWebSocketList(ListDocPool(), paths->WebSocketListFile, *this, webSocketList_);
    app::LoadCaptureList(ListDocPool(), paths->CaptureListFile, *this, httpServerList_, webSocketList_, captureList_);
    ForgetUnlistedServices();
    UpdateArchiveIndices();
}

void TLumora_MainForm::ShowTimerTimer() {
    showTimer_.stop();
    scrollBox_->setVisible(true);
    AdjustHeight();
    StartStopHttpServers(true);
    if (!pipeServer_.isListening()) {
        QLocalServer::removeServer(kPipeName);
        if (!pipeServer_.listen(kPipeName))
            WriteLog("Pipe " + std::string(kPipeName) + " : " + pipeServer_.errorString().toStdString(), engine::kLogError);
    }
    ShowLogWindow(engine::Settings()->ShowLog);
    for (const auto& entry : std::vector<TCaptureListEntry*>([this] {
             std::vector<TCaptureListEntry*> entries;
             for (const auto& e : captureList_.Items()) entries.push_back(e.get());
             return entries;
         }()))
        if (entry->AutoStart && IndexOfCaptureEntry(entry) >= 0) StartStopCapture(*entry, true);
    if (engine::Settings()->NotifyIcon && options_.Parts.ShowTrayIcon) options_.Parts.ShowTrayIcon(true);
    archiveThread_ = std::make_unique<TArchiveThread>(
        std::make_shared<TArchiveGuard>(archiveHandOver_.Host(), engine::CurrentFreeSpaceQuery(), engine::LogList()));
    CloseSplash();
    startUpDone_ = true;
}

void TLumora_MainForm::MinTimerTimer() {
    if (!startUpDone_) return;  // runs again once the start-up's steps are done
    minTimer_.stop();
    if (RegReadInstBool("lumora_min", false) && !compact_) SetCompactMode(false);
}

void TLumora_MainForm::LogTimerTimer() {
    if (engine::AppClosing) return;
    for (engine::TLogListEntry& entry : engine::LogList()->TakeAll()) WriteLog(entry.Text, entry.Level);
}

void TLumora_MainForm::StatusTimerTimer() {
    TMainStatus status;
    status.Captures = static_cast<int>(captureList_.Count());
    for (const auto& [entry, service] : services_) {
        if (service.Capture && service.Capture->Running) status.AnyCaptureRunning = true;
        if (service.Panel) service.Panel->RefreshHttpState();
    }
    status.KeepAwake = engine::Settings()->DeactScreenSaver;
    status.WebSockets = static_cast<int>(webSocketList_.Count());
    for (const auto& socket : webSocketList_.Items())
        if (socket->Active) status.AnyWebSocketActive = true;
    status.WebServers = static_cast<int>(httpServerList_.Count());
    for (const auto& server : httpServerList_.Items())
        if (server->Server && server->Server->Listening()) status.AnyWebServerListening = true;
    if (statusBar_) statusBar_->ShowStatus(status);
}

void TLumora_MainForm::WriteLog(const std::string& text, uint8_t level) {
    if (options_.Parts.WriteLog) options_.Parts.WriteLog(text, level);
    else log_.WriteLog(text, level);
}

void TLumora_MainForm::HandleCaptureLog(const std::string& text, uint8_t level) {
    QueueLogEntry(*engine::LogList(), text, level);
}

void TLumora_MainForm::HandleHttpServerLog(const engine::TCaptureHttpServer& sender, const std::string& text) {
    QueueLogEntry(*engine::LogList(),
                  "HTTP [" + engine::IpAddrToText(sender.IpAddr()) + ":" + std::to_string(sender.Port()) + "] - " + text,
                  engine::kLogInfo);
}

void TLumora_MainForm::HandleCaptureRestart(engine::TScreenCapture& sender) {
    if (TCaptureListEntry* entry = FindEntryByCapture(&sender))
        if (ICapturePanel* panel = PanelOf(*entry)) panel->ShowCapture();
}

void TLumora_MainForm::StopCapturesForDiskSpace(const std::vector<int32_t>& indices) {
    for (int32_t idx : indices)
        for (const auto& entry : captureList_.Items())
            if (entry->Idx == idx)
                if (auto capture = CaptureOf(*entry)) capture->Stop();
}

// --- capture services ---

std::unique_ptr<TCaptureListEntry> TLumora_MainForm::InitCaptureEntry() {
    auto entry = std::make_unique<TCaptureListEntry>();
    entry->Idx = engine::NextCaptureIndex();
    entry->Streamers = std::make_unique<engine::TStreamerList>(engine::ShareDefaultsFromSettings(entry->Idx));
    entry->Params.capVlcLibPath = AppPaths()->LibVlcDir;
    TCaptureService service;
    engine::TScreenCaptureServices services = engine::DefaultScreenCaptureServices(entry->Idx, WindowHandle());
    services.VlcPreferences = RegistryVlcPreferences();
    service.Capture = engine::TScreenCapture::Create(entry->Idx, std::move(services));
    service.Capture->Params.capVlcLibPath = AppPaths()->LibVlcDir;
    service.Capture->OnRestart = [this](engine::TScreenCapture& sender) { HandleCaptureRestart(sender); };
    service.Capture->OnLog = [this](engine::TScreenCapture&, const std::string& text, uint8_t level) {
        HandleCaptureLog(text, level);
    };
    if (options_.Parts.MakeCapturePanel) {
        service.Panel = options_.Parts.MakeCapturePanel(*this, *entry, service.Capture);
        if (service.Panel) {
            QWidget* widget = service.Panel->Widget();
            widget->setObjectName(QString("CaptureFrame_%1").arg(entry->Idx));
            panelLayout_->insertWidget(panelLayout_->count() - 1, widget);  // last, above the stretch
        }
    }
    std::lock_guard lock(engine::GlobalLock());
    services_.emplace(entry.get(), std::move(service));
    return entry;
}

void TLumora_MainForm::CaptureEntryLoaded(TCaptureListEntry& entry) {
    const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(entry);
    if (!capture) return;
    {
        std::lock_guard lock(engine::GlobalLock());
        capture->Params = entry.Params;
        if (capture->Params.capVlcLibPath.empty()) capture->Params.capVlcLibPath = AppPaths()->LibVlcDir;
        for (const engine::PCaptureStreamer& share : entry.Streamers->Items()) capture->Streamers.Append(share);
    }
    capture->Prepare(entry.Idx);
    if (ICapturePanel* panel = PanelOf(entry)) panel->InitPanel();
}

bool TLumora_MainForm::AddCapture() {
    TCaptureListEntry* entry = nullptr;
    {
        std::unique_ptr<TCaptureListEntry> created = InitCaptureEntry();
        std::lock_guard lock(engine::GlobalLock());
        entry = &captureList_.Append(std::move(created));
    }
    const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(*entry);
    const bool ok = options_.Parts.EditNewCapture && capture && options_.Parts.EditNewCapture(*entry, *capture);
    if (!ok) {
        FreeCaptureEntry(*entry);
        return false;
    }
    NewCaptureEdited(*entry);
    return true;
}

void TLumora_MainForm::NewCaptureEdited(TCaptureListEntry& entry) {
    const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(entry);
    if (!capture) return;
    CallIfSet(options_.Parts.ShowWaitForm);
    capture->Prepare(entry.Idx);
    if (ICapturePanel* panel = PanelOf(entry)) panel->InitPanel();
    CallIfSet(options_.Parts.CloseWaitForm);
    UpdateArchiveIndices();
}

void TLumora_MainForm::FreeCaptureEntry(TCaptureListEntry& entry) {
    TCaptureService service;
    std::unique_ptr<TCaptureListEntry> keep;
    {
        std::lock_guard lock(engine::GlobalLock());
        if (auto found = services_.find(&entry); found != services_.end()) {
            service = std::move(found->second);
            services_.erase(found);
        }
    }
    if (service.Panel) {
        service.Panel->StopStatusTimer();
        service.Panel.reset();  // its share tabs and LEDs go with it
    }
    entry.Name.clear();
    service.Capture.reset();  // stops the job once no operation of its own runs any more
    {
        std::lock_guard lock(engine::GlobalLock());
        captureList_.Remove(&entry);
    }
    UpdateArchiveIndices();
}

void TLumora_MainForm::ForgetUnlistedServices() {
    std::vector<const TCaptureListEntry*> unlisted;
    for (const auto& [entry, service] : services_)
        if (IndexOfCaptureEntry(entry) < 0) unlisted.push_back(entry);
    for (const TCaptureListEntry* entry : unlisted) services_.erase(entry);
}

void TLumora_MainForm::UpdateArchiveIndices() {
    std::vector<int32_t> indices;
    for (const auto& entry : captureList_.Items()) indices.push_back(entry->Idx);
    archiveHandOver_.SetCaptureIndices(std::move(indices));
}

std::shared_ptr<engine::TScreenCapture> TLumora_MainForm::CaptureOf(const TCaptureListEntry& entry) const {
    const auto found = services_.find(&entry);
    return found != services_.end() ? found->second.Capture : nullptr;
}

ICapturePanel* TLumora_MainForm::PanelOf(const TCaptureListEntry& entry) const {
    const auto found = services_.find(&entry);
    return found != services_.end() ? found->second.Panel.get() : nullptr;
}

int TLumora_MainForm::IndexOfCaptureEntry(const TCaptureListEntry* entry) const {
    const auto& items = captureList_.Items();
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == entry) return static_cast<int>(i);
    return -1;
}

TCaptureListEntry* TLumora_MainForm::FindEntryByIdx(int32_t idx) const {
    for (const auto& entry : captureList_.Items())
        if (entry->Idx == idx) return entry.get();
    return nullptr;
}

TCaptureListEntry* TLumora_MainForm::FindEntryByCapture(const engine::TScreenCapture* capture) const {
    for (const auto& entry : captureList_.Items())
        if (CaptureOf(*entry).get() == capture) return entry.get();
    return nullptr;
}

void TLumora_MainForm::StartStopCapture(TCaptureListEntry& entry, bool start) {
    if (ICapturePanel* panel = PanelOf(entry)) {
        panel->StartStop(start);
        return;
    }
    const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(entry);
    if (!capture) return;
    entry.StartTime = std::chrono::system_clock::now();
    if (start) {
        if (capture->Start()) capture->Running = true;
    } else {
        capture->Stop();
        capture->Running = false;
    }
}

void TLumora_MainForm::StartStopAll(bool start) {
    if (captureList_.Count() == 0) return;
    StartStopHttpServers(start);
    std::vector<TCaptureListEntry*> entries;
    for (const auto& entry : captureList_.Items()) entries.push_back(entry.get());
    for (TCaptureListEntry* entry : entries)
        if (IndexOfCaptureEntry(entry) >= 0) StartStopCapture(*entry, start);  // a wait inside may delete one
}

void TLumora_MainForm::StartStopHttpServers(bool start) {
    for (const auto& entry : httpServerList_.Items()) {
        SetHttpLeds(*entry, false);
        if (!entry->Server) continue;
        try {
            if (start && entry->AutoStart) {
                if (!entry->Server->Activate()) SetHttpLeds(*entry, true);
            } else {
                entry->Server->Deactivate();
            }
        } catch (const std::exception& e) {
            WriteLog("HTTP [" + engine::IpAddrToText(entry->Server->IpAddr()) + ":" + std::to_string(entry->Server->Port()) +
                         "] - " + e.what(),
                     engine::kLogError);
        }
    }
}

void TLumora_MainForm::SetHttpLeds(const THttpServerEntry& server, bool on) {
    const engine::IShareHttpServer* bound = &server;
    for (const auto& [entry, service] : services_) {
        if (!service.Panel || !service.Capture) continue;
        for (const engine::PCaptureStreamer& share : service.Capture->Streamers.Items())
            if (share->Protocol == engine::kShareProtocolHttp && share->HttpServer.get() == bound)
                service.Panel->SetShareHttpError(*share, on);
    }
}

std::shared_ptr<THttpServerEntry> TLumora_MainForm::FindHttpServerEntry(int32_t ipAddr, int32_t port) const {
    return httpServerList_.FindEntry(ipAddr, port);
}

const engine::TCaptureStreamer* TLumora_MainForm::FindStreamerByPath(const std::string& path) const {
    const engine::TCaptureStreamer* result = nullptr;
    for (const auto& entry : captureList_.Items()) {
        const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(*entry);
        if (!capture) continue;
        for (const engine::PCaptureStreamer& share : capture->Streamers.Items())
            if (!share->SubDir.empty() && path.find(share->SubDir) != std::string::npos) {
                result = share.get();
                break;
            }
    }
    return result;
}

engine::TCaptureStreamer* TLumora_MainForm::FindShareById(engine::TShareId id) const {
    if (id == 0) return nullptr;
    for (const auto& [entry, service] : services_)
        if (service.Capture)
            for (const engine::PCaptureStreamer& share : service.Capture->Streamers.Items())
                if (share->Index == id) return share.get();
    return nullptr;
}

void TLumora_MainForm::WMCaptureNotify(intptr_t wParam, intptr_t lParam) {
    switch (wParam) {
        case engine::kCnDeleteCapture: {
            // The entry's Idx: an entry deleted meanwhile is simply no longer found.
            TCaptureListEntry* entry = FindEntryByIdx(static_cast<int32_t>(lParam));
            if (entry == nullptr) return;
            FreeCaptureEntry(*entry);
            AdjustHeight();
            SaveCaptureList();
            return;
        }
        case engine::kCnImageData:
        case engine::kCnVideoData:
        case engine::kCnFileData:
            if (statusBar_) statusBar_->LightDataLed(wParam);
            return;
        case engine::kCnHttpRequest:
        case engine::kCnHttpSend: {
            engine::TCaptureStreamer* share = FindShareById(lParam);  // may have gone since it was posted
            if (share == nullptr || !share->Active) return;
            for (const auto& entry : captureList_.Items()) {
                ICapturePanel* panel = PanelOf(*entry);
                if (panel == nullptr || entry->Idx != share->CaptureIdx) continue;
                if (wParam == engine::kCnHttpRequest) panel->LightShareHttpRequest(*share);
                else panel->LightShareHttpSend(*share);
            }
            return;
        }
        default:
            return;
    }
}

// --- the settings road, log window, layout ---

void TLumora_MainForm::OpenSettings() {
    const bool oldNotifyIcon = engine::Settings()->NotifyIcon;
    for (const auto& [entry, service] : services_)
        if (service.Panel) service.Panel->RestartAfterEdit = service.Panel->RunningLedOn();
    StartStopHttpServers(false);
    StartStopAll(false);
    const bool ok = options_.Parts.OpenSettingsDialog && options_.Parts.OpenSettingsDialog();
    if (ok) {
        std::string error;
        if (!SaveIniFile(&error)) {
            WriteLog("General error : framewick.ini cannot be written - " + error, engine::kLogError);
            return;
        }
        const std::shared_ptr<const TAppPaths> paths = AppPaths();
        SaveWebSocketList(ListDocPool(), paths->WebSocketListFile, webSocketList_);
        SaveHttpServerList(ListDocPool(), paths->HttpServerListFile, httpServerList_);
        SaveCaptureList();
    }
    if (engine::AppClosing) return;
    StartStopHttpServers(true);
    std::vector<TCaptureListEntry*> entries;
    for (const auto& entry : captureList_.Items()) entries.push_back(entry.get());
    for (TCaptureListEntry* entry : entries) {
        ICapturePanel* panel = IndexOfCaptureEntry(entry) >= 0 ? PanelOf(*entry) : nullptr;
        if (panel == nullptr || !panel->RestartAfterEdit) continue;
        panel->StartStop(true);
        panel->RestartAfterEdit = false;
    }
    if (engine::Settings()->NotifyIcon != oldNotifyIcon) {
        if (!engine::Settings()->NotifyIcon && isHidden()) show();
        if (options_.Parts.ShowTrayIcon) options_.Parts.ShowTrayIcon(engine::Settings()->NotifyIcon);
    }
    SetKsaTimer(engine::Settings()->DeactScreenSaver);
}

void TLumora_MainForm::ToggleLogWindow() {
    const bool on = toolBar_ && toolBar_->LogButtonOn();
    if (on && options_.Parts.LogWindowMinimized && options_.Parts.LogWindowMinimized()) {
        if (options_.Parts.ShowLogWindow) options_.Parts.ShowLogWindow(true);
        return;
    }
    ShowLogWindow(!on);
}

void TLumora_MainForm::ShowLogWindow(bool show) {
    if (options_.Parts.ShowLogWindow) options_.Parts.ShowLogWindow(show);
    if (toolBar_) toolBar_->SetLogButtonOn(show);
}

void TLumora_MainForm::AdjustHeight() {
    if (compact_) return;
    int panels = 0;
    for (const auto& [entry, service] : services_)
        if (service.Panel) panels += service.Panel->Widget()->height();
    setFixedHeight(BarHeight(toolBar_ ? toolBar_->Widget() : nullptr) +
                   BarHeight(statusBar_ ? statusBar_->Widget() : nullptr) +
                   (panels > 0 ? panels : kEmptyScrollBoxHeightPx));
}

void TLumora_MainForm::FocusStatusBar() {
    if (statusBar_) statusBar_->Widget()->setFocus();
}

void TLumora_MainForm::SetCompactMode(bool keepPosition) {
    QWidget* toolBar = toolBar_ ? toolBar_->Widget() : nullptr;
    QWidget* statusBar = statusBar_ ? statusBar_->Widget() : nullptr;
    if (!compact_) {
        compact_ = true;
        if (toolBar) toolBar->setVisible(false);
        scrollBox_->setVisible(false);
        savedClientHeight_ = height();
        savedClientWidth_ = width();
        setFixedHeight(std::max(1, BarHeight(statusBar)));
        RegWriteInstBool("lumora_min", true);
        return;
    }
    WriteFormOrigin("lumora_main_min", x(), y());
    compact_ = false;
    if (toolBar) toolBar->setVisible(true);
    scrollBox_->setVisible(true);
    setFixedHeight(savedClientHeight_);
    RegWriteInstBool("lumora_min", false);
    if (engine::Settings()->CenterApp && !keepPosition) {
        const platform::TPoint origin = engine::GetMonitorCenterPos(engine::GetMonitorIndexAt(x(), y()), width(), height());
        move(origin.X, origin.Y);
    }
}

bool TLumora_MainForm::AnyPanelExpanded() const {
    for (const auto& entry : captureList_.Items())
        if (!entry->Minimized) return true;
    return false;
}

void TLumora_MainForm::SetAllPanelsMinimized(bool minimize) {
    scrollBox_->setVisible(false);
    for (const auto& entry : captureList_.Items())
        if (ICapturePanel* panel = PanelOf(*entry); panel != nullptr && entry->Minimized != minimize) {
            try {
                panel->ToggleMinimized();
            } catch (const std::exception& e) {
                WriteLog(std::string("General error : ") + e.what(), engine::kLogError);
            }
        }
    scrollBox_->setVisible(true);
}

void TLumora_MainForm::StartDownloader() { MakeLibVlcCheck().StartDownloader(); }

void TLumora_MainForm::CloseSplash() { CallIfSet(options_.Parts.CloseSplash); }

void TLumora_MainForm::ShowAbout() { CallIfSet(options_.Parts.ShowAbout); }

void TLumora_MainForm::SetKsaTimer(bool on) {
    // Keeping the display awake is the desktop's business here; the timer only marks the state.
    if (on) ksaTimer_.start(kKsaTimerMs);
    else ksaTimer_.stop();
}

void TLumora_MainForm::CopyJobIntoEntry(TCaptureListEntry& entry) const {
    const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(entry);
    if (!capture || !entry.Streamers) return;
    entry.Params = capture->Params;
    const auto& jobShares = capture->Streamers.Items();
    // Shares the job deleted go (their workers have ended with the job's delete) ...
    std::vector<const engine::TCaptureStreamer*> gone;
    for (const engine::PCaptureStreamer& share : entry.Streamers->Items())
        if (capture->Streamers.IndexOfStreamer(share.get()) < 0) gone.push_back(share.get());
    for (const engine::TCaptureStreamer* share : gone) entry.Streamers->DeleteStreamer(share);
    // ... and new ones are appended; the job's list only ever grows at its end.
    for (const engine::PCaptureStreamer& share : jobShares)
        if (entry.Streamers->IndexOfStreamer(share.get()) < 0) entry.Streamers->Append(share);
}

bool TLumora_MainForm::SaveCaptureList() {
    std::lock_guard lock(engine::GlobalLock());
    for (const auto& entry : captureList_.Items()) CopyJobIntoEntry(*entry);
    return app::SaveCaptureList(ListDocPool(), AppPaths()->CaptureListFile, captureList_);
}

std::unique_ptr<engine::TCaptureHttpServer> TLumora_MainForm::CreateHttpServer(int idx) {
    auto server = std::make_unique<engine::TCaptureHttpServer>(idx, IndexPage()->IndexHtmlFile, httpHost_);
    server->OnLog = &TLumora_MainForm::HandleHttpServerLog;
    return server;
}

std::unique_ptr<engine::TWebSocketFilterGraph> TLumora_MainForm::CreateWebSocketGraph() {
    return std::make_unique<engine::TWebSocketFilterGraph>(errorBox_);
}

// --- closing ---

void TLumora_MainForm::closeEvent(QCloseEvent* event) {
    if (!closed_ && !ended_) FormClose();
    event->accept();
    CallIfSet(options_.Closed);
}

void TLumora_MainForm::FormClose() {
    closed_ = true;
    engine::AppClosing = true;
    try {
        StartStopAll(false);
    } catch (...) {
        EndProcess(kExitCloseFailed);
        return;
    }
    CallIfSet(options_.Parts.ShowWaitForm);
    logTimer_.stop();
    statusTimer_.stop();
    ksaTimer_.stop();
    showTimer_.stop();
    minTimer_.stop();
    if (archiveThread_) archiveThread_->RequestStop();
    archiveThread_.reset();  // not waited for: it holds what it uses
    WriteSplashMonitor(engine::GetMonitorIndexAt(x(), y()));
    WriteFormOrigin("main", x(), y());
    WriteFormOrigin("lumora_main_min", x(), y());
    pipeServer_.close();

    const std::shared_ptr<const TAppPaths> paths = AppPaths();
    SaveCaptureList();
    SaveWebSocketList(ListDocPool(), paths->WebSocketListFile, webSocketList_);
    SaveHttpServerList(ListDocPool(), paths->HttpServerListFile, httpServerList_);
    std::string error;
    if (!SaveIniFile(&error)) WriteLog("framewick.ini cannot be written - " + error, engine::kLogError);

    httpHost_->Detach();
    for (const auto& server : httpServerList_.Items())
        if (server->Server) server->Server->Deactivate();
    httpServerList_.Clear();
    for (const auto& socket : webSocketList_.Items()) {
        socket->Name.clear();
        socket->Graph.reset();
    }
    webSocketList_.Clear();
    while (captureList_.Count() > 0) FreeCaptureEntry(*captureList_.Items().front());
    SetListDocPool(nullptr);
    msPool_.reset();
    engine::LogList()->TakeAll();
    SetIndexPage(TIndexPage{});
    CallIfSet(options_.Parts.CloseWaitForm);
}

}  // namespace app
