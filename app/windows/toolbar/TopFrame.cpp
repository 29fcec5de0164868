#include "app/windows/toolbar/TopFrame.h"

#include <QResizeEvent>

#include "app/windows/base/PanelBuilders.h"
#include "common/ColourPresets.h"
#include "components/CanvasPanelEx.h"
#include "engine/settings/settings_store.h"

namespace app {

namespace {

constexpr int kTextButtonWidth = 50;
constexpr int kIconButtonWidth = 26;
constexpr int kButtonHeight = 24;
constexpr int kGlyphSize = 16;
constexpr int kSettingsFirstPage = 0;

template <typename F>
void Call(const F& hook) {
    if (hook) hook();
}

components::TCanvasPanelEx* IconButton(QWidget* parent, const QString& hint, const char* glyph) {
    auto* button = MakeButton(parent, hint, "", 0, kToolBarEdgeGap, kIconButtonWidth, kButtonHeight);
    SetButtonGlyph(*button, QString::fromUtf8(glyph), kGlyphSize);
    return button;
}

}  // namespace

TTop_Frame::TTop_Frame(QWidget* parent) : QWidget(parent) {
    topPanel_ = new components::TCanvasPanelEx(this);
    topPanel_->SetHitTest(components::htForm);  // the window has no caption bar: its title moves it
    start_ = MakeButton(topPanel_, "Start All Captures", "Start", 0, kToolBarEdgeGap, kTextButtonWidth, kButtonHeight);
    stopAll_ = MakeButton(topPanel_, "Stop All Captures", "Stop", 0, kToolBarEdgeGap, kTextButtonWidth, kButtonHeight);
    add_ = MakeButton(topPanel_, "Add Capture", "Add", 0, kToolBarEdgeGap, kTextButtonWidth, kButtonHeight);
    log_ = IconButton(topPanel_, "Open Log", "\u2630");
    min_ = IconButton(topPanel_, "Mininmize/Maximize All", "\u2195");
    settings_ = IconButton(topPanel_, "Configuration", "\u2699");
    help_ = IconButton(topPanel_, "Help", "?");
    info_ = IconButton(topPanel_, "About", "i");
    minimize_ = IconButton(topPanel_, "Minimize", "\u2581");
    exit_ = IconButton(topPanel_, "Exit", "\u2715");
}

std::vector<components::TCanvasPanelEx*> TTop_Frame::Buttons() const {
    return {start_, stopAll_, add_, log_, min_, settings_, help_, info_, minimize_, exit_};
}

void TTop_Frame::InitToolBar(TToolBarHooks hooks) {
    hooks_ = std::move(hooks);
    setFixedHeight(kToolBarHeight);
    topPanel_->setGeometry(0, 0, width(), kToolBarHeight);
    topPanel_->SetCaption("Framewick");
    start_->OnClick = [this](QWidget*) { Start_TBClick(); };
    stopAll_->OnClick = [this](QWidget*) { StopAll_TBClick(); };
    add_->OnClick = [this](QWidget*) { Add_TBClick(); };
    log_->OnClick = [this](QWidget*) { Log_TBClick(); };
    min_->OnClick = [this](QWidget*) { Min_TBClick(); };
    min_->OnDblClick = [this](QWidget*) { Min_TBDblClick(); };
    settings_->OnClick = [this](QWidget*) { Settings_TBClick(); };
    help_->OnClick = [this](QWidget*) { Help_TBClick(); };
    info_->OnClick = [this](QWidget*) { Info_TBClick(); };
    minimize_->OnClick = [this](QWidget*) { Minimize_TBClick(); };
    exit_->OnClick = [this](QWidget*) { Exit_TBClick(); };
    WireLooks();
    FrameResize();
}

void TTop_Frame::WireLooks() {
    for (components::TCanvasPanelEx* button : Buttons()) {
        button->OnMouseEnter = [button](QWidget*) { SetPanelHover(*button); };
        button->OnMouseLeave = [button](QWidget*) { SetPanelNormal(*button); };
        if (button == start_ || button == stopAll_) continue;
        button->OnMouseDown = [button](QWidget*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
            if (b == Qt::LeftButton) SetPanelDown(*button);
        };
        button->OnMouseUp = [button](QWidget*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
            if (b == Qt::LeftButton) SetPanelUp(*button);
        };
    }
}

void TTop_Frame::Start_TBClick() {
    if (hooks_.StartStopAll) hooks_.StartStopAll(true);
}

void TTop_Frame::StopAll_TBClick() {
    if (hooks_.StartStopAll) hooks_.StartStopAll(false);
}

void TTop_Frame::Add_TBClick() {
    Call(hooks_.AddCapture);
    Call(hooks_.SaveCaptureList);
}

void TTop_Frame::Log_TBClick() { Call(hooks_.ToggleLogWindow); }

void TTop_Frame::Min_TBClick() {
    // Any expanded panel: collapse the expanded ones; none: expand every collapsed one.
    if (hooks_.SetAllPanelsMinimized) hooks_.SetAllPanelsMinimized(hooks_.AnyPanelExpanded && hooks_.AnyPanelExpanded());
}

void TTop_Frame::Min_TBDblClick() {
    if (hooks_.SetAllPanelsMinimized) hooks_.SetAllPanelsMinimized(false);
}

void TTop_Frame::Settings_TBClick() {
    if (hooks_.SelectSettingsPage) hooks_.SelectSettingsPage(kSettingsFirstPage);
    Call(hooks_.OpenSettings);
}

void TTop_Frame::Help_TBClick() {
    if (hooks_.ShowHelp) hooks_.ShowHelp(kToolBarHelpAnchor);
}

void TTop_Frame::Info_TBClick() { Call(hooks_.ShowAbout); }

void TTop_Frame::Minimize_TBClick() {
    if (engine::Settings()->NotifyIcon)
        Call(hooks_.TrayShowHide);
    else
        Call(hooks_.MinimizeMainWindow);
}

void TTop_Frame::Exit_TBClick() { Call(hooks_.CloseApp); }

void TTop_Frame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    topPanel_->setGeometry(0, 0, width(), height());
    FrameResize();
}

void TTop_Frame::FrameResize() {
    start_->move(kToolBarEdgeGap, start_->y());
    stopAll_->move(start_->x() + start_->width(), stopAll_->y());
    add_->move(stopAll_->x() + stopAll_->width(), add_->y());
    exit_->move(topPanel_->width() - exit_->width() - kToolBarEdgeGap, exit_->y());
    components::TCanvasPanelEx* previous = exit_;
    for (components::TCanvasPanelEx* button : {minimize_, info_, help_, settings_, min_, log_}) {
        button->move(previous->x() - button->width(), button->y());
        previous = button;
    }
}

}  // namespace app
