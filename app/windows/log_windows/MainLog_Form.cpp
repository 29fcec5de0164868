#include "app/windows/log_windows/MainLog_Form.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/settings/app_globals.h"
#include "common/ColourPresets.h"
#include "common/HtmlHelp.h"
#include "app/windows/base/FormBounds.h"
#include "app/windows/base/SpeedButton.h"
#include "app/windows/log_windows/LogListBox.h"
#include "app/windows/log_windows/LogWindowCaption.h"
#include "app/windows/log_windows/Log_Form.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/capture_notify.h"
#include "platform/ui/ttimer.h"

namespace app {

namespace {

constexpr int kTabWidthPx = 200;
const TFormBounds kDefaultBounds{50, 80, 400, 500};  // top, left, height, width
const char* const kDockedPageCaption = "Real-Time Analysis Log";

}  // namespace

TMainLog_Form::TMainLog_Form(std::unique_ptr<TMainLog> log, TShellOpener shellOpen, QWidget* parent)
    : QWidget(parent, Qt::Window),
      log_(std::move(log)),
      shellOpen_(std::move(shellOpen)),
      pageControl1_(new QTabWidget(this)),
      checkLogTimer_(std::make_unique<platform::TTimer>()) {
    setObjectName(QStringLiteral("MainLog_Form"));
    setWindowTitle(InstanceCaption(QStringLiteral("Lumora Main-Log"), InstanceIndex.load()));
    setMinimumWidth(kMinWidthPx);

    pageControl1_->setObjectName(QStringLiteral("PageControl1"));
    pageControl1_->setStyleSheet(QStringLiteral("QTabBar::tab { width: %1px; }").arg(kTabWidthPx));
    auto* tabSheet1 = new QWidget;
    tabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    auto* buttons = new QHBoxLayout;
    startTB_ = MakeSpeedButton(tabSheet1, "Start_TB", ">", "Continue Log-Output", true);
    stopTB_ = MakeSpeedButton(tabSheet1, "Stop_TB", "||", "Freeze Log-Output", true);
    clearTB_ = MakeSpeedButton(tabSheet1, "Clear_TB", "C", "Clear", false);
    openDirTB_ = MakeSpeedButton(tabSheet1, "OpenDir_TB", "...", "Open Log-Directory", false);
    for (QToolButton* b : {startTB_, stopTB_, clearTB_, openDirTB_}) buttons->addWidget(b);
    buttons->addStretch();
    logLB_ = new TLogListBox(
        [](int level, bool selected) { return MainLogLineColors(static_cast<uint8_t>(level), selected); }, tabSheet1);
    logLB_->setObjectName(QStringLiteral("LogLB"));
    auto* page = new QVBoxLayout(tabSheet1);
    page->setContentsMargins(0, 0, 0, 0);
    page->addLayout(buttons);
    page->addWidget(logLB_);
    pageControl1_->addTab(tabSheet1, QStringLiteral("Main Log"));

    logStatusBar_ = new QStatusBar(this);
    logStatusBar_->setObjectName(QStringLiteral("Log_StatusBar"));
    logStatusBar_->setSizeGripEnabled(false);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(pageControl1_);
    column->addWidget(logStatusBar_);

    connect(startTB_, &QToolButton::clicked, this, [this] { StartTBClick(); });
    connect(stopTB_, &QToolButton::clicked, this, [this] { StopTBClick(); });
    connect(clearTB_, &QToolButton::clicked, this, [this] { ClearTBClick(); });
    connect(openDirTB_, &QToolButton::clicked, this, [this] { OpenDirTBClick(); });

    snmpLog_ = new TLog_Form(*this, this);

    checkLogTimer_->SetInterval(kCheckLogIntervalMs);
    checkLogTimer_->SetOnTimer([this] { CheckLogTimerTimer(); });
    checkLogTimer_->SetEnabled(true);
}

TMainLog_Form::~TMainLog_Form() { checkLogTimer_->SetEnabled(false); }

void TMainLog_Form::WriteLog(const std::string& text, uint8_t level) { ShowUpdate(log_->WriteLog(text, level)); }

void TMainLog_Form::WriteLines(const std::string& text, uint8_t level) { ShowUpdate(log_->WriteLines(text, level)); }

// The list mirrors the log's lines: the new ones come at the end, the oldest leave at the front. A text
// longer than the window pushed some of its own first lines out again: only what the log kept is added.
void TMainLog_Form::ShowUpdate(const TLogWindowUpdate& update) {
    logLB_->setUpdatesEnabled(false);
    const auto& lines = log_->Lines().Lines();
    const size_t firstNew = lines.size() - std::min(update.Added, lines.size());
    for (size_t i = firstNew; i < lines.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(lines[i].Text));
        item->setData(kLogValueRole, int(lines[i].Level));
        logLB_->addItem(item);
    }
    if (update.Added > 0 && logLB_->count() > 0) logLB_->setCurrentRow(logLB_->count() - 1);
    while (static_cast<size_t>(logLB_->count()) > lines.size()) delete logLB_->takeItem(0);
    logLB_->setUpdatesEnabled(true);
    if (update.Added > 0) logLB_->scrollToBottom();
    logStatusBar_->showMessage(QString::fromStdString(log_->StatusText()));
}

void TMainLog_Form::SetLogButton(components::TCanvasPanelEx* button) { logButton_ = button; }

void TMainLog_Form::CheckLogTimerTimer() { log_->CheckFreeSpace(); }

void TMainLog_Form::StartTBClick() {
    if (startTB_->isChecked()) stopTB_->setChecked(false);
    log_->SetOutputRunning(startTB_->isChecked());
}

void TMainLog_Form::StopTBClick() {
    if (stopTB_->isChecked()) startTB_->setChecked(false);
    log_->SetOutputRunning(!stopTB_->isChecked());
}

void TMainLog_Form::ClearTBClick() {
    log_->Clear();
    logLB_->clear();
}

void TMainLog_Form::OpenDirTBClick() {
    shellOpen_(QUrl::fromLocalFile(QString::fromStdString(engine::Settings()->LogDir)));
}

void TMainLog_Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    RestoreFormBounds(*this, kBoundsName, kDefaultBounds);
    startTB_->setChecked(log_->OutputRunning());
    stopTB_->setChecked(!log_->OutputRunning());
    if (!snmpLog_->Docked()) snmpLog_->SetDocked(true);
    pageControl1_->setCurrentIndex(0);
    if (pageControl1_->count() > 1) pageControl1_->setTabVisible(1, false);
}

void TMainLog_Form::closeEvent(QCloseEvent* event) {
    SaveFormBounds(*this, kBoundsName);
    event->accept();
    if (engine::AppClosing.load()) return;
    if (logButton_) {
        logButton_->SetTag(0);
        SetPanelNormal(*logButton_);
    }
}

void TMainLog_Form::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        ShowHtmlHelp(kHelpContext);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TMainLog_Form::DockDrop(TLog_Form& form) {
    const int index = pageControl1_->addTab(&form, QString::fromLatin1(kDockedPageCaption));
    if (index < 0) return false;
    form.SetDockState(true);
    pageControl1_->setTabVisible(index, false);
    return true;
}

void TMainLog_Form::UnDock(TLog_Form& form) {
    const int index = pageControl1_->indexOf(&form);
    if (index >= 0) pageControl1_->removeTab(index);
    form.setParent(this, Qt::Window);
    form.SetDockState(false);
    if (mainWindow_ != 0) platform::PostMessage(mainWindow_, engine::kWmCaptureNotify, kCnLogUndocked, 0);
}

}  // namespace app
