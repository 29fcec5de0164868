#include "app/windows/capture_panel/CaptureFrame.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <chrono>

#include "app/lists/capture_list_entry.h"
#include "app/settings/app_globals.h"
#include "app/windows/capture_panel/CaptureFrameTexts.h"
#include "app/windows/base/PanelBuilders.h"
#include "app/windows/capture_panel/ShareStatusTab.h"
#include "app/windows/capture_panel/StreamerPageControl.h"
#include "app/windows/base/PathEllipsis.h"
#include "common/ColourPresets.h"
#include "common/MsgDlgWrappers.h"
#include "components/BevelLabel.h"
#include "components/CanvasPanelEx.h"
#include "components/ColorFrames.h"
#include "components/LedLabel.h"
#include "engine/capture/broadcast/VlcOutputChain.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/capture/settings/CaptureRect.h"
#include "engine/settings/counters.h"
#include "engine/settings/name_routines.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/capture_notify.h"
#include "engine/util/number_strings.h"

namespace app {

namespace {

constexpr uint8_t kSchemeNeutral = 0;
constexpr uint8_t kSchemeAudioOn = 3;
constexpr uint8_t kSchemeArchiveOn = 5;
constexpr uint8_t kSchemeMethod = 7;
constexpr int kFileDirMarginPx = 2;

QString Q(const std::string& text) { return QString::fromStdString(text); }

void SetIfKnown(components::TBevelLabel& label, const std::optional<std::string>& text) {
    if (text) label.SetCaption(Q(*text));
}

}  // namespace

TCapture_Frame::TCapture_Frame(TCapturePanelHooks hooks, QWidget* parent)
    : QWidget(parent), hooks_(std::move(hooks)), ui_(BuildCaptureFrameControls(this)) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, components::ToQColor(kPanelBackgroundColor));
    setPalette(palette);
    normalHeight_ = kCaptureFrameTop + kFrameHeightExpanded + kFrameBottomGap;
    setFixedHeight(normalHeight_);
    statusTimer_.SetEnabled(false);
    statusTimer_.SetInterval(kStatusTimerMs);
    statusTimer_.SetOnTimer([this] { Status_TimerTimer(); });
    ConnectButtons();
    TStreamerTabBar& tabs = ui_.Streamer_PageControl->StreamerTabBar();
    tabs.SetLedForTab([this](int tabIndex) { return LedForTab(tabIndex); });
    tabs.OnMouseDown = [this] {
        if (hooks_.FocusStatusBar) hooks_.FocusStatusBar();
    };
}

TCapture_Frame::~TCapture_Frame() {
    if (service_) service_->RemoveView(this);
}

void TCapture_Frame::ConnectButtons() {
    const auto wire = [](components::TCanvasPanelEx* button, auto click) {
        button->OnClick = click;
        button->OnMouseEnter = [button](QWidget*) { SetPanelHoverAlways(*button); };
        button->OnMouseLeave = [button](QWidget*) { SetPanelNormalAlways(*button); };
    };
    wire(ui_.Connect_TB, [this](QWidget*) { Connect_TBClick(); });
    wire(ui_.Disconn_TB, [this](QWidget*) { Disconn_TBClick(); });
    wire(ui_.Settings_TB, [this](QWidget*) { Settings_TBClick(); });
    wire(ui_.Delete_TB, [this](QWidget*) { Delete_TBClick(); });
    wire(ui_.Minimize_TB, [this](QWidget*) { Minimize_TBClick(); });
}

void TCapture_Frame::SetService(std::shared_ptr<TCaptureService> service) {
    if (service_) service_->RemoveView(this);
    service_ = std::move(service);
    if (service_) service_->SetView(this);
}

void TCapture_Frame::InitPanel() {
    if (engine::VlcMissing) {
        // The snapshot format takes the video column.
        for (QWidget* w : std::initializer_list<QWidget*>{ui_.TransVid_Label, ui_.TransVidCaption, ui_.TransAudCaption,
                                                           ui_.TransAud_Label, ui_.TransScaleCaption,
                                                           ui_.TransScale_Label})
            w->hide();
        ui_.TransImgCaption->move(ui_.TransVidCaption->x(), ui_.TransImgCaption->y());
        ui_.TransImg_Label->move(ui_.TransVid_Label->x(), ui_.TransImg_Label->y());
    }
    RestartAfterEdit = false;
    ClearLeds();
    ShowCapture();
    const TCaptureListEntry* entry = Entry();
    tag_ = entry && entry->Minimized ? 0 : 1;
    ToggleMinimized();
}

void TCapture_Frame::ShowCapture() {
    const TCaptureListEntry* entry = Entry();
    const auto capture = Capture();
    if (!entry || !capture) return;
    ShowTitle();
    ui_.Idx_Label->SetCaption(Q(engine::ZeroPadStr(std::to_string(entry->Idx), 2)));
    ui_.Device_Label->SetCaption(Q(entry->Name));

    ui_.Area_Panel->hide();
    ui_.TsUdp_Panel->hide();
    for (QWidget* group : {ui_.Area_Panel, ui_.TsUdp_Panel, ui_.SysFile_Panel}) group->move(kFieldGroupLeft, kFieldGroupTop);
    ui_.DeskNo_Label->hide();
    ui_.DeskNoCaption->hide();
    ui_.Format_Panel->hide();
    ui_.AV_Panel->show();
    ui_.SysFile_Panel->hide();

    ShowMethod(*capture);
    ShowEncodings(*capture);
    const auto webSocket = entry->WebSocket.lock();
    SetBevelLabelScheme(*ui_.Ws_Label,
                        webSocket && entry->WebSocketAct && webSocket->Active ? kSchemeAudioOn : kSchemeNeutral);
    SetBevelLabelScheme(*ui_.Archive_Label, capture->Params.capImagebArchive ? kSchemeArchiveOn : kSchemeNeutral);
    ShowSourceKind(*capture);
    ShowRectangle(*capture);
    ShowRunTime(0, 0, 0);
    ShowShareTabs(*capture);
}

void TCapture_Frame::ShowTitle() {
    const QFontMetrics metrics(ui_.TopName_TntLabel->font());
    const std::string title = FitTitle(
        Entry()->Name, [&](const std::string& text) { return metrics.horizontalAdvance(Q(text)); });
    ui_.TopName_TntLabel->setText(Q(title));
}

void TCapture_Frame::ShowMethod(engine::TScreenCapture& capture) {
    const engine::TScreenCaptureParams& p = capture.Params;
    const auto method = CaptureMethodText(p.capEncoder);
    if (!method) return;
    ui_.Source_Label->SetCaption(Q(*method));
    SetBevelLabelScheme(*ui_.Source_Label, kSchemeMethod);
    if (p.capEncoder == engine::kCapEncoderDirectX) {
        ui_.Format_Panel->show();
        const TPixelFormat format = PixelFormatOf(p.capPixelFormat);
        SetIfKnown(*ui_.PixelFormat_Label, format.Text);
        const engine::TCaptureGeometry& g = capture.Geometry();  // as before this refresh recomputes it
        ui_.BmpSize_Label->SetCaption(Q(BitmapKiloBytesText(format.Bits, g.RectWidth, g.RectHeight,
                                                            LocaleSettings().ThousandSeparator)));
    } else if (p.capEncoder == engine::kCapEncoderSystem) {
        ui_.SysFile_Panel->show();
        const QFontMetrics metrics(ui_.FileDir_Label->font());
        ui_.FileDir_Label->SetCaption(ShortenPathForDisplay(Q(p.Files.capFilesDir), metrics,
                                                            ui_.FileDir_Label->width() - kFileDirMarginPx));
        const auto settings = engine::Settings();
        const TFileFormatText file = FileFormatText(
            p.Files.capiFileFmt, {settings->BmpConvAct, settings->Bmp2Jpg, settings->Bmp2Png, settings->Svg2Png});
        SetIfKnown(*ui_.FileFmt_Label, file.Format);
        ui_.Convert_Label->SetCaption(Q(file.Convert));
    }
}

void TCapture_Frame::ShowEncodings(const engine::TScreenCapture& capture) {
    const engine::TScreenCaptureParams& p = capture.Params;
    SetIfKnown(*ui_.TransVid_Label, VideoCodecText(p.vidCodec));
    SetIfKnown(*ui_.TransAud_Label, AudioCodecText(p.audCodec));
    SetIfKnown(*ui_.TransImg_Label, SnapshotFormatText(p.capImageFormat));
    ui_.TransScale_Label->SetCaption(Q(engine::ScaleIndexToStr(p.vidScale)));
}

void TCapture_Frame::ShowSourceKind(const engine::TScreenCapture& capture) {
    const engine::TScreenCaptureParams& p = capture.Params;
    const auto kind = SourceKindText(p.capKind);
    if (!kind) return;
    ui_.Mode_Label->SetCaption(Q(kind->Text));
    SetBevelLabelScheme(*ui_.Mode_Label, kind->Scheme);
    if (p.capKind <= engine::kCapKindArea) {
        ui_.Area_Panel->show();
        if (p.capKind == engine::kCapKindMonitor) {
            ui_.DeskNo_Label->SetCaption(QString::number(p.capDesktopNo));
            ui_.DeskNo_Label->show();
            ui_.DeskNoCaption->show();
        }
    } else if (p.capKind == engine::kCapKindUdpStream) {
        ui_.TsUdp_Panel->show();
        ui_.TsPort_Label->SetCaption(QString::number(p.capUdpPort));
        ui_.TsIp_Label->SetCaption(Q(engine::DottedAddress(p.capUdpIp)));
    } else {
        ui_.AV_Panel->hide();
    }
}

void TCapture_Frame::ShowRectangle(engine::TScreenCapture& capture) {
    capture.CalcCaptureRect();
    const engine::TCaptureGeometry& g = capture.Geometry();
    ui_.Left_Label->SetCaption(QString::number(g.CaptureRect.Left));
    ui_.Top_Label->SetCaption(QString::number(g.CaptureRect.Top));
    const bool scaled = capture.Params.vidScale != 0;
    ui_.Width_Label->SetCaption(QString::number(scaled ? g.ScaledWidth : g.RectWidth));
    ui_.Height_Label->SetCaption(QString::number(scaled ? g.ScaledHeight : g.RectHeight));
}

void TCapture_Frame::ShowShareTabs(engine::TScreenCapture& capture) {
    int position = 0;
    for (const engine::PCaptureStreamer& share : capture.Streamers->Items()) {
        // Every share visited draws a number, also one that already has its tab.
        const int32_t number = engine::NextStreamerIndex();
        if (!FrameOfShare(share.get())) {
            auto* sheet = new QWidget;
            auto* layout = new QVBoxLayout(sheet);
            layout->setContentsMargins(0, 0, 0, 0);
            auto* frame = new TStreamer_Frame({service_}, sheet);
            frame->setObjectName(QString("Streamer_Frame_%1").arg(number));
            layout->addWidget(frame);
            QString caption = QString("[%1]").arg(position);
            if (share->Protocol == engine::kShareProtocolHttp) caption += " HTTP";
            if (share->Protocol == engine::kShareProtocolUdp) caption += " UDP";
            ui_.Streamer_PageControl->addTab(sheet, caption);
            frame->Init(share, sheet);
        }
        ++position;
    }
    ui_.Streamer_PageControl->StreamerTabBar().PlaceLeds();
}

void TCapture_Frame::Connect_TBClick() {
    if (const std::shared_ptr<TCaptureService> service = service_) service->StartStop(true);
}

void TCapture_Frame::Disconn_TBClick() {
    if (const std::shared_ptr<TCaptureService> service = service_) service->StartStop(false);
}

void TCapture_Frame::CaptureServiceChanged(TCaptureServiceChange change) {
    switch (change) {
        case TCaptureServiceChange::Starting:
            statusTimer_.SetEnabled(true);
            ShowCapture();
            ui_.On_Led->SetLedOn(true);
            return;
        case TCaptureServiceChange::StartFailed:
            ui_.Error_Led->SetLedOn(true);
            return;
        case TCaptureServiceChange::Stopped:
            ClearLeds();
            ShowCapture();
            statusTimer_.SetEnabled(false);
            return;
        case TCaptureServiceChange::Done: {
            const auto capture = Capture();
            if (!capture) return;
            for (TStreamer_Frame* frame : StreamerFrames()) {
                const auto share = frame->Streamer();
                if (share && capture->Streamers->IndexOfStreamer(share.get()) >= 0)
                    frame->SetRunning(service_->SwitchedOn());
            }
            return;
        }
    }
}

void TCapture_Frame::Settings_TBClick() {
    const std::shared_ptr<TCaptureService> service = service_;
    const auto capture = Capture();
    if (!Entry() || !capture) return;
    // The service's start and stop and the editor wait with events running: the main window may free
    // this panel and the entry meanwhile.
    const QPointer<TCapture_Frame> self(this);
    RestartAfterEdit = service->SwitchedOn();
    if (hooks_.StartStopHttpServers) hooks_.StartStopHttpServers(false);
    service->StartStop(false);
    if (!self || !Entry()) return;
    if (hooks_.EditCapture) hooks_.EditCapture(*Entry(), *capture);
    if (!self) return;
    ClearLeds();
    ShowCapture();
    if (hooks_.SaveCaptureList) hooks_.SaveCaptureList();
    if (hooks_.StartStopHttpServers) hooks_.StartStopHttpServers(true);
    service->StartStop(RestartAfterEdit);
    if (self) RestartAfterEdit = false;
}

void TCapture_Frame::Delete_TBClick() {
    const QPointer<TCapture_Frame> self(this);
    Disconn_TBClick();
    if (!self || !Entry()) return;
    const int answer = ShowMsgDlg(components::mtConfirmation, "Confirmation", "Capture will be deleted! Are you sure?",
                                  1, "", "Cancel", "Yes");
    if (self && Entry() && answer == kMsgDlgButton1)
        platform::PostMessage(hooks_.MainWindow, engine::kWmCaptureNotify, engine::kCnDeleteCapture, Entry()->Idx);
}

void TCapture_Frame::ToggleMinimized() {
    if (tag_ == 0) {
        tag_ = 1;
        ui_.Main_ColorFrame->resize(ui_.Main_ColorFrame->width(), kFrameHeightCollapsed);
        setFixedHeight(kPanelHeightCollapsed);
        if (TCaptureListEntry* entry = Entry()) entry->Minimized = true;
    } else {
        tag_ = 0;
        ui_.Main_ColorFrame->resize(ui_.Main_ColorFrame->width(), kFrameHeightExpanded);
        normalHeight_ = ui_.Main_ColorFrame->y() + ui_.Main_ColorFrame->height() + kFrameBottomGap;
        setFixedHeight(normalHeight_);
        if (TCaptureListEntry* entry = Entry()) entry->Minimized = false;
    }
    if (hooks_.AdjustHeight) hooks_.AdjustHeight();
}

void TCapture_Frame::ShowRunTime(int hours, int minutes, int seconds) {
    ui_.RunTime_label->SetCaption(Q(RunTimeText(hours, minutes, seconds)));
}

void TCapture_Frame::ClearLeds() {
    ui_.On_Led->SetLedOn(false);
    ui_.Error_Led->SetLedOn(false);
}

void TCapture_Frame::Status_TimerTimer() {
    const TCaptureListEntry* entry = Entry();
    if (!entry) return;
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now() -
                                                                          entry->StartTime);
    const engine::TRunTime runTime = engine::FormatRunTime(std::abs(elapsed.count()));
    ShowRunTime(runTime.Hours, runTime.Minutes, runTime.Secs);
    ui_.Data_Led->SetLedOn(true);
}

void TCapture_Frame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FrameResize();
}

void TCapture_Frame::FrameResize() {
    components::TColorFrames* frame = ui_.Main_ColorFrame;
    frame->resize(width() - 8, frame->height());
    ui_.Input_TopPanel->resize(width() - 8, ui_.Input_TopPanel->height());
    ui_.Streamer_PageControl->resize(frame->width() - 8, ui_.Streamer_PageControl->height());
    ui_.Minimize_TB->move(frame->x() + frame->width() - ui_.Minimize_TB->width() - 8, ui_.Minimize_TB->y());
    ui_.Delete_TB->move(ui_.Minimize_TB->x() - ui_.Delete_TB->width(), ui_.Delete_TB->y());
    ui_.Settings_TB->move(ui_.Delete_TB->x() - ui_.Settings_TB->width(), ui_.Settings_TB->y());
}

std::vector<TStreamer_Frame*> TCapture_Frame::StreamerFrames() const {
    std::vector<TStreamer_Frame*> frames;
    for (int i = 0; i < ui_.Streamer_PageControl->count(); ++i)
        if (auto* frame = ui_.Streamer_PageControl->widget(i)->findChild<TStreamer_Frame*>()) frames.push_back(frame);
    return frames;
}

TStreamer_Frame* TCapture_Frame::FindStreamerFrame(int32_t shareIndex) const {
    for (TStreamer_Frame* frame : StreamerFrames())
        if (const auto share = frame->Streamer(); share && share->Index == shareIndex) return frame;
    return nullptr;
}

TStreamer_Frame* TCapture_Frame::FrameOfShare(const engine::TCaptureStreamer* share) const {
    for (TStreamer_Frame* frame : StreamerFrames())
        if (frame->Streamer().get() == share) return frame;
    return nullptr;
}

int TCapture_Frame::TabIndexOfShare(const engine::TCaptureStreamer& share) const {
    const TStreamer_Frame* frame = FrameOfShare(&share);
    return frame ? ui_.Streamer_PageControl->indexOf(frame->Sheet()) : -1;
}

bool TCapture_Frame::TabCaption(const engine::TCaptureStreamer& share, QString& caption) const {
    const int index = TabIndexOfShare(share);
    if (index < 0) return false;
    caption = ui_.Streamer_PageControl->tabText(index);
    return true;
}

void TCapture_Frame::SetTabCaption(const engine::TCaptureStreamer& share, const QString& caption) {
    const int index = TabIndexOfShare(share);
    if (index >= 0) ui_.Streamer_PageControl->setTabText(index, caption);
}

void TCapture_Frame::FreeTab(const engine::TCaptureStreamer& share) {
    const int index = TabIndexOfShare(share);
    if (index < 0) return;
    QWidget* sheet = ui_.Streamer_PageControl->widget(index);
    ui_.Streamer_PageControl->removeTab(index);
    delete sheet;  // with its status tab and the share's lamp
    ui_.Streamer_PageControl->StreamerTabBar().PlaceLeds();
}

QWidget* TCapture_Frame::LedForTab(int tabIndex) const {
    const auto capture = Capture();
    if (!capture || tabIndex < 0 || tabIndex >= static_cast<int>(capture->Streamers->Count())) return nullptr;
    TStreamer_Frame* frame = FrameOfShare(capture->Streamers->Items()[tabIndex].get());
    return frame ? &frame->ShareLed() : nullptr;
}

}  // namespace app
