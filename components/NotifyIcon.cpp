#include "components/NotifyIcon.h"

#include <QApplication>
#include <QCoreApplication>
#include <algorithm>

namespace components {

namespace {

void RestartTimer(platform::TTimer& timer, int intervalMs) {
    timer.SetEnabled(false);
    timer.SetInterval(static_cast<uint32_t>(std::max(1, intervalMs)));
    timer.SetEnabled(true);
}

}  // namespace

TNotifyIcon::TNotifyIcon(std::unique_ptr<TTrayArea> tray, std::unique_ptr<TAppTaskbar> taskbar,
                         const TIconResources& resources, QObject* owner)
    : QObject(owner), tray_(std::move(tray)), taskbar_(std::move(taskbar)), resources_(resources) {
    sequence_.OnChange = [this] { SequenceChanged(); };
    tray_->SetMessageHandler([this](uint32_t message) { TrayMessage(message); });
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { SessionEnd(); });
}

TNotifyIcon::~TNotifyIcon() {
    SessionEnd();
    tray_->SetMessageHandler(nullptr);
}

// Timers first, so that nothing ticks into what goes next; the drop target last.
void TNotifyIcon::SessionEnd() {
    if (sessionEnded_) return;
    sessionEnded_ = true;
    clickTimer_.reset();
    startTimer_.reset();
    startRole_ = StartRole::kNone;
    dockWatch_.reset();
    trayWatch_.reset();
    hintTimer_.reset();
    tray_->Delete();
    iconAdded_ = false;
    if (dropWindow_) dropWindow_->SetForwardTarget(nullptr);
    dropWindow_.reset();
    hintWindow_.reset();
    dragDrop_ = false;
    hintPending_ = false;
    iconGeometry_ = QRect();
}

void TNotifyIcon::SetNotify(bool on) {
    notify_ = on;
    if (on) {
        sessionEnded_ = false;
        startTimer_ = std::make_unique<platform::TTimer>();
        startRole_ = StartRole::kStart;
        startTimer_->SetInterval(kStartDelayMs);
        startTimer_->SetOnTimer([this] { StartTimerTick(); });
        startTimer_->SetEnabled(true);
        if (!dockWatch_) {
            dockWatch_ = std::make_unique<platform::TTimer>();
            dockWatch_->SetInterval(kDockWatchMs);
            dockWatch_->SetOnTimer([this] { FollowDock(); });
        }
        dockWatch_->SetEnabled(true);
        return;
    }
    // A start still pending or a running animation would otherwise put the icon back.
    startTimer_.reset();
    startRole_ = StartRole::kNone;
    dockWatch_.reset();
    tray_->Delete();
    iconAdded_ = false;
    firstFrame_ = sequence_.isOn();  // the icon is gone: the next frame adds it again
    SetDragDrop(false);
    FollowDock();
}

bool TNotifyIcon::SetIcon(const TIconImage& icon) {
    if (icon == icon_) return true;
    applicationIcon_ = false;
    if (!Usable(icon)) return false;
    if (icon.IsEmpty()) return true;
    icon_ = icon;
    if (!sequence_.isOn() && iconResName_.isEmpty()) UpdateStaticIcon();
    return true;
}

void TNotifyIcon::SetIconResName(const QString& name) {
    if (name == iconResName_) return;
    iconResName_ = name;
    if (!iconResName_.isEmpty() && iconAdded_) {
        LoadResourceIcon();
        UpdateStaticIcon();
    }
}

void TNotifyIcon::SetApplicationIcon(bool on) {
    applicationIcon_ = on;
    if (on) icon_ = resources_.ApplicationIcon();
    UpdateStaticIcon();
}

void TNotifyIcon::SetIconHint(const QString& hint) {
    if (hint == iconHint_) return;
    iconHint_ = hint.left(kMaxHintChars);
    UpdateShownIcon();
}

bool TNotifyIcon::Docked() const { return notify_ && iconAdded_ && !tray_->IconGeometry().isEmpty(); }

void TNotifyIcon::SetApplicationHide(bool hide) {
    applicationHide_ = hide;
    taskbar_->SetShowMainForm(!hide);
    FollowDock();
}

void TNotifyIcon::FollowDock() {
    const bool docked = Docked();
    taskbar_->SetTaskbarButton(!(applicationHide_ && docked));
    if (docked == docked_) return;
    docked_ = docked;
    if (OnDockChange) OnDockChange();
}

void TNotifyIcon::StartTimerTick() {
    if (sequence_.isOn()) {
        ShowFrameAndAdvance();  // the first tick of the animation then shows the second frame
    } else if (!iconResName_.isEmpty()) {
        LoadResourceIcon();
        if (notify_ && !iconAdded_) AddIcon(icon_);
    } else {
        if (icon_.IsEmpty()) icon_ = resources_.ApplicationIcon();
        AddIcon(icon_);
    }
    // The start runs once, also when the icon was refused: a refused icon is reported once.
    startTimer_.reset();
    startRole_ = StartRole::kNone;
    if (!notify_) return;  // an empty first icon switched the tray off
    if (dragDrop_ && trayWatch_) {
        // The tray docks the icon in its own time: the watch places the drop window once it has.
        trayWatch_->SetEnabled(true);
        PlaceDropWindow();
    }
    if (sequence_.isOn()) StartSequenceTimer();
}

void TNotifyIcon::SequenceChanged() {
    if (sequence_.isOn()) {
        firstFrame_ = true;
        frame_ = 1;
        // Before the icon is in the tray the start begins the animation.
        if (iconAdded_ && startRole_ != StartRole::kStart) StartSequenceTimer();
        return;
    }
    firstFrame_ = false;
    StopSequenceTimer();
    UpdateStaticIcon();
}

void TNotifyIcon::StartSequenceTimer() {
    startTimer_ = std::make_unique<platform::TTimer>();
    startRole_ = StartRole::kSequence;
    startTimer_->SetInterval(static_cast<uint32_t>(std::max(0, sequence_.isInterval())));
    startTimer_->SetOnTimer([this] { ShowFrameAndAdvance(); });
    startTimer_->SetEnabled(true);
}

void TNotifyIcon::StopSequenceTimer() {
    if (startRole_ != StartRole::kSequence) return;
    startTimer_.reset();
    startRole_ = StartRole::kNone;
}

void TNotifyIcon::ShowFrameAndAdvance() {
    ShowCurrentFrame();
    frame_ = frame_ >= sequence_.isSequences() ? 1 : frame_ + 1;
}

void TNotifyIcon::ShowCurrentFrame() {
    const QString name = sequence_.isIconResName() + QStringLiteral("_%1").arg(frame_);
    frameIcon_ = resources_.Find(name);
    if (frameIcon_.IsEmpty()) {
        qWarning("[tray] icon resource \"%s\" not found; the animation stops", qPrintable(name));
        StopSequenceTimer();
    }
    if (firstFrame_) {
        firstFrame_ = false;
        AddIcon(frameIcon_);
    } else {
        ShowIcon(frameIcon_);
    }
}

void TNotifyIcon::TrayMessage(uint32_t mouseMessage) {
    const QPoint pos = tray_->CursorPos();
    switch (mouseMessage) {
        case kMouseMove:
            if (OnMouseMove) OnMouseMove();
            break;
        case kLButtonDown:
            CancelHint();
            if (OnLButtonDblClick)
                ArmClickTimer(mouseMessage);  // the single click waits for a second press
            else if (OnLButtonClick)
                OnLButtonClick();
            break;
        case kLButtonDblClk:
            CancelHint();
            clickTimer_.reset();  // a waiting single click is dropped
            if (OnLButtonDblClick) OnLButtonDblClick();
            break;
        case kRButtonDown:
            CancelHint();
            if (popupMenu_)
                tray_->PopupMenu(popupMenu_.data(), pos);
            else if (OnRButtonDblClick)
                ArmClickTimer(mouseMessage);
            else if (OnRButtonClick)
                OnRButtonClick();
            break;
        case kRButtonDblClk:
            CancelHint();
            clickTimer_.reset();
            if (OnRButtonDblClick) OnRButtonDblClick();
            break;
        case tray_message::kDropFiles:
        case tray_message::kMouseLeave:
            CancelHint();
            break;
        case tray_message::kMouseEnter:
            if (dragDrop_ && !iconHint_.isEmpty() && hintTimer_) {
                hintPending_ = true;
                RestartTimer(*hintTimer_, TDragDropHintWindow::HintPauseMs());
            }
            break;
        default:
            break;  // releases included: a click counts at the press
    }
}

void TNotifyIcon::ArmClickTimer(uint32_t mouseMessage) {
    if (!clickTimer_) {
        clickTimer_ = std::make_unique<platform::TTimer>();
        clickTimer_->SetOnTimer([this] { ClickTimerTick(); });
    }
    clickTimer_->SetEnabled(false);
    clickTimer_->SetInterval(static_cast<uint32_t>(std::max(1, QApplication::doubleClickInterval())));
    clickMessage_ = mouseMessage;
    clickTimer_->SetEnabled(true);
}

void TNotifyIcon::ClickTimerTick() {
    clickTimer_->SetEnabled(false);
    if (clickMessage_ == kLButtonDown && OnLButtonClick)
        OnLButtonClick();
    else if (clickMessage_ == kRButtonDown && OnRButtonClick)
        OnRButtonClick();
}

void TNotifyIcon::SetDragDrop(bool on) {
    dragDrop_ = on;
    if (!on) {
        CancelHint();
        if (dropWindow_) dropWindow_->hide();
        if (trayWatch_) trayWatch_->SetEnabled(false);
        return;
    }
    if (!dropWindow_) CreateDropTarget();
    PlaceDropWindow();
    hintTimer_->SetEnabled(true);  // its first tick hides any hint
    if (iconAdded_) trayWatch_->SetEnabled(true);
}

void TNotifyIcon::CreateDropTarget() {
    dropWindow_ = std::make_unique<TDragDropWindow>();
    dropWindow_->SetForwardTarget([this](uint32_t message) { TrayMessage(message); });
    hintWindow_ = std::make_unique<TDragDropHintWindow>();
    hintTimer_ = std::make_unique<platform::TTimer>();
    hintTimer_->SetEnabled(false);
    hintTimer_->SetInterval(static_cast<uint32_t>(std::max(1, TDragDropHintWindow::HintPauseMs())));
    hintTimer_->SetOnTimer([this] { HintTimerTick(); });
    trayWatch_ = std::make_unique<platform::TTimer>();
    trayWatch_->SetEnabled(false);
    trayWatch_->SetInterval(kTrayWatchMs);
    trayWatch_->SetOnTimer([this] { TrayWatchTick(); });
}

// Over the icon while it is in a tray that tells where; hidden otherwise.
void TNotifyIcon::PlaceDropWindow() {
    iconGeometry_ = notify_ && iconAdded_ ? tray_->IconGeometry() : QRect();
    dropWindow_->PlaceOver(iconGeometry_);
}

void TNotifyIcon::TrayWatchTick() {
    const QRect geometry = tray_->IconGeometry();
    if (geometry != iconGeometry_) {
        if (geometry.isEmpty())
            qWarning("[tray] the notification area is gone; the drop target waits hidden until it returns");
        PlaceDropWindow();
    }
    dropWindow_->KeepOnTop();
    if (hintWindow_->isVisible()) hintWindow_->raise();  // the hint stays above the window it belongs to
}

void TNotifyIcon::HintTimerTick() {
    if (hintPending_) {
        RestartTimer(*hintTimer_, TDragDropHintWindow::HintHidePauseMs());
        hintWindow_->ActivateHint(tray_->CursorPos(), iconHint_);
        hintPending_ = false;
        return;
    }
    hintWindow_->hide();
    hintTimer_->SetEnabled(false);
}

void TNotifyIcon::CancelHint() {
    if (!hintTimer_ || !hintTimer_->Enabled()) return;
    hintPending_ = false;
    hintTimer_->SetEnabled(false);
    hintWindow_->hide();
}

bool TNotifyIcon::AddIcon(const TIconImage& icon) {
    if (icon.IsEmpty()) {
        SetNotify(false);
        return false;
    }
    if (!Usable(icon)) return false;
    tray_->Add(icon, iconHint_);
    iconAdded_ = true;
    return true;
}

// Before the icon is in the tray there is nothing to update: the start shows the icon and hint current then.
void TNotifyIcon::UpdateStaticIcon() {
    if (!iconAdded_) return;
    if (icon_.IsEmpty()) {
        SetNotify(false);
        return;
    }
    if (!Usable(icon_)) return;
    if (notify_) tray_->Modify(icon_, iconHint_);
}

void TNotifyIcon::ShowIcon(const TIconImage& icon) {
    if (notify_) tray_->Modify(icon, iconHint_);
}

void TNotifyIcon::UpdateShownIcon() {
    if (sequence_.isOn())
        ShowIcon(frameIcon_);
    else
        UpdateStaticIcon();
}

bool TNotifyIcon::Usable(const TIconImage& icon) {
    const QString error = icon.FormatError();
    if (error.isEmpty()) return true;
    ReportIconError(error);
    return false;
}

void TNotifyIcon::LoadResourceIcon() {
    icon_ = resources_.Find(iconResName_);
    if (icon_.IsEmpty()) qWarning("[tray] icon resource \"%s\" not found", qPrintable(iconResName_));
}

void TNotifyIcon::ReportIconError(const QString& message) {
    if (OnIconError)
        OnIconError(message);
    else
        qWarning("[tray] %s", qPrintable(QString(message).replace(QLatin1Char('\r'), QLatin1Char(' '))));
}

}  // namespace components
