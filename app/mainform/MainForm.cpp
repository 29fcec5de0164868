// The main window's making: its children, FormCreate (settings, pools, lists, the filter probe), the
// hard exits, its timers' wiring and the engine objects it hands to the list readers.
#include "app/mainform/MainForm.h"

#include <unistd.h>

#include "app/mainform/IndexTemplate.h"
#include "app/settings/app_globals.h"
#include "app/settings/settings_ini.h"
#include "engine/graphs/SpreadFilterGraph.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "platform/display/xcb_keep_awake.h"
#include "platform/ui/window_poster.h"

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
      log_(options_.Parts.WriteLog),
      captures_(std::make_shared<TCaptureServices>(
          std::make_unique<platform::TWindowPoster>(notifyTarget_.Handle(), engine::kWmCaptureNotify),
          TCaptureServiceHooks{options_.Parts.ShowWaitForm, options_.Parts.CloseWaitForm})),
      webServers_(captures_, log_.Writer()),
      archiveHandOver_([this](const std::vector<int32_t>& indices) { captures_->StopForDiskSpace(indices); }),
      ksa_(std::make_unique<TKsaTimer>(options_.MakeKeepAwake ? options_.MakeKeepAwake()
                                                             : std::make_unique<platform::TXcbKeepAwake>())) {
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
    // As tall as the window leaves it (AdjustHeight makes room for the panels), however small: its
    // scroll bars would otherwise claim more than one collapsed panel and push the status bar out.
    scrollBox_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    scrollBox_->setWidgetResizable(true);
    panelHolder_ = new QWidget(scrollBox_);
    panelLayout_ = new QVBoxLayout(panelHolder_);
    panelLayout_->setContentsMargins(0, 0, 0, 0);
    panelLayout_->setSpacing(0);
    panelLayout_->addStretch(1);
    scrollBox_->setWidget(panelHolder_);
    compact_ = std::make_unique<TCompactMode>(*this, *scrollBox_);
    workAreaFit_ = std::make_unique<TWorkAreaFit>(
        *this, [this] { return !compact_->On(); },
        [this] { return BarHeight(ToolBarWidget()) + BarHeight(StatusBarWidget()); });
}

TLumora_MainForm::~TLumora_MainForm() {
    if (!closed_ && !ended_) FormClose();
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
    log_.StartDraining();
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

void TLumora_MainForm::StartDownloader() { MakeLibVlcCheck().StartDownloader(); }

void TLumora_MainForm::CloseSplash() { CallIfSet(options_.Parts.CloseSplash); }

void TLumora_MainForm::ShowAbout() { CallIfSet(options_.Parts.ShowAbout); }

void TLumora_MainForm::SetKsaTimer(bool on) { ksa_->SetEnabled(on); }

std::unique_ptr<engine::TCaptureHttpServer> TLumora_MainForm::CreateHttpServer(int idx) {
    return webServers_.Create(idx);
}

std::unique_ptr<engine::TWebSocketFilterGraph> TLumora_MainForm::CreateWebSocketGraph() {
    return std::make_unique<engine::TWebSocketFilterGraph>(errorBox_);
}
}  // namespace app
