#include "app/windows/capture_panel/ShareStatusTab.h"

#include <QLabel>
#include <chrono>

#include "app/capture_service/CaptureService.h"
#include "app/lists/http_server_entry.h"
#include "app/log/LogQueue.h"
#include "app/settings/app_globals.h"
#include "app/windows/capture_panel/CaptureFrameTexts.h"
#include "app/windows/base/PanelBuilders.h"
#include "common/ColourPresets.h"
#include "components/BevelLabel.h"
#include "engine/capture/broadcast/VlcOutputChain.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/ftp/ftp_notify.h"
#include "engine/settings/name_routines.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"

namespace app {

namespace {

constexpr uint8_t kLedStateGreen = 0;
constexpr uint8_t kLedStateRed = 2;
constexpr uint8_t kSchemeHttp = 6;
constexpr uint8_t kSchemeUdp = 5;

void Log(const std::string& text, uint8_t level) { QueueLogEntry(*engine::LogList(), text, level); }

std::string IdxTag(int32_t captureIdx) { return "[IDX: " + std::to_string(captureIdx) + "] "; }

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A bevel label under its caption.
components::TBevelLabel* CaptionedValue(QWidget* parent, const QString& caption, int x, int y, int width) {
    MakeCaption(parent, caption, x, y, width);
    return MakeValueLabel(parent, x, y + 13, width);
}

}  // namespace

TStreamer_Frame::TStreamer_Frame(TStreamerFrameContext context, QWidget* parent)
    : QWidget(parent),
      context_(std::move(context)),
      target_([this](uint32_t msg, intptr_t wParam, intptr_t lParam) {
          if (msg == engine::wmFtpNotify) WMFtpNotify(wParam, lParam);
      }) {
    BuildControls();
    restartTimer_.SetEnabled(false);
    restartTimer_.SetInterval(kFtpRestartDelayMs);
    restartTimer_.SetOnTimer([this] { Restart_TimerTimer(); });
}

TStreamer_Frame::~TStreamer_Frame() {
    const auto share = share_.lock();
    const auto capture = Capture();
    engine::TShareRun* run = share && capture ? capture->ShareRuns().Find(share) : nullptr;
    if (run && run->FrameHandle == target_.Handle()) run->FrameHandle = 0;  // a newer tab keeps its own
    delete shareLed_.data();
}

void TStreamer_Frame::BuildControls() {
    using components::lcdGreen;
    // Destination on the left with the lamps under it; the FTP feedback as one row beside them.
    ui_.IpAdr_Label = CaptionedValue(this, "Destination IP Address", 4, 2, 100);
    ui_.Port_Label = CaptionedValue(this, "Port", 108, 2, 48);
    ui_.Udp_Label = CaptionedValue(this, "Protocol", 160, 2, 45);

    ui_.FtpUpload_Panel = new QWidget(this);
    ui_.FtpUpload_Panel->setGeometry(212, 0, 300, 44);
    QWidget* ftp = ui_.FtpUpload_Panel;
    MakeCaption(ftp, "FTP Upload", 2, 0, 80);
    ui_.FtpLen_Label = CaptionedValue(ftp, "Size [kB]", 2, 14, 50);
    ui_.Upload_Label = CaptionedValue(ftp, "Upload [sec]", 56, 14, 64);
    ui_.FtpFiles_Label = CaptionedValue(ftp, "Files", 124, 14, 48);
    ui_.LastUpload_Label = CaptionedValue(ftp, "last upload", 176, 14, 76);
    ui_.Upload_Led = MakeLed(ftp, lcdGreen, 256, 29);

    ui_.Status_Panel = new QWidget(this);
    ui_.Status_Panel->setGeometry(4, 34, 150, 26);
    QWidget* status = ui_.Status_Panel;
    MakeCaption(status, "HTTP", 0, 0, 50);
    ui_.HttpOn_Led = MakeLed(status, lcdGreen, 0, 14);
    ui_.HttpData_Led = MakeLed(status, components::lcdYellow, 13, 14, kLedFlashMs);
    ui_.HttpSend_Led = MakeLed(status, components::lcdOrange, 26, 14, kLedFlashMs);
    ui_.HttpErr_Led = MakeLed(status, components::lcdRed, 39, 14);
    MakeCaption(status, "FTP", 56, 0, 40);
    ui_.FtpOn_Led = MakeLed(status, lcdGreen, 56, 14);
    ui_.FtpData_Led = MakeLed(status, components::lcdYellow, 69, 14, kLedFlashMs);
    ui_.FtpErr_Led = MakeLed(status, components::lcdRed, 82, 14);
    ui_.VidCaption = MakeCaption(status, "Vid", 98, 0, 18);
    ui_.Video_LED = MakeLed(status, lcdGreen, 100, 14);
    MakeCaption(status, "Img", 117, 0, 18);
    ui_.Snap_LED = MakeLed(status, lcdGreen, 119, 14);
    MakeCaption(status, "File", 136, 0, 18);
    ui_.File_LED = MakeLed(status, lcdGreen, 138, 14);

    shareLed_ = MakeLed(this, components::lcdGray, 0, 0);
    shareLed_->LedFill().SetfpKind(components::fkSym);
    shareLed_->hide();  // shown once the tab strip takes it
}

void TStreamer_Frame::Init(const engine::PCaptureStreamer& share, QWidget* sheet) {
    share_ = share;
    sheet_ = sheet;
    const auto capture = Capture();
    if (share && capture) capture->ShareRuns().Of(share).FrameHandle = target_.Handle();
    Reset();
    ShowShare();
    if (engine::VlcMissing) {
        ui_.Video_LED->LedColor().SetllColor(components::lcdGray);
        SetCaptionColor(*ui_.VidCaption, kGreyedCaptionColor);
    }
    ShowHttpState();
}

void TStreamer_Frame::Reset() {
    ui_.FtpOn_Led->SetLedOn(false);
    ui_.Upload_Led->SetLedOn(false);
    ui_.Upload_Label->SetCaption("");
    ui_.FtpLen_Label->SetCaption("");
    SetLedState(*ui_.Upload_Led, kLedStateGreen, false);
    transferCount_ = 0;
    ShowFtpTransfer(0, true);
    ui_.IpAdr_Label->SetCaption("");
    ui_.Port_Label->SetCaption("");
    if (share_.lock()) SetShareLed(components::lcdGray, false);
    ui_.LastUpload_Label->SetCaption("");
    for (components::TLedLabel* led : {ui_.Video_LED, ui_.Snap_LED, ui_.File_LED, ui_.FtpErr_Led}) led->SetLedOn(false);
}

void TStreamer_Frame::ShowShare() {
    ui_.FtpUpload_Panel->hide();
    ui_.Status_Panel->hide();
    const auto share = share_.lock();
    if (!share) return;
    if (share->Protocol == engine::kShareProtocolHttp) {
        ui_.Udp_Label->SetCaption("HTTP");
        SetBevelLabelScheme(*ui_.Udp_Label, kSchemeHttp);
        ui_.IpAdr_Label->SetCaption("");
        ui_.Port_Label->SetCaption("");
        if (share->HttpServer) {
            ui_.IpAdr_Label->SetCaption(Q(engine::DottedAddress(share->HttpServer->IpAddr())));
            ui_.Port_Label->SetCaption(QString::number(share->HttpServer->Port()));
        }
        ui_.FtpUpload_Panel->show();
        ui_.Status_Panel->show();
    } else if (share->Protocol == engine::kShareProtocolUdp) {
        ui_.Udp_Label->SetCaption("UDP");
        SetBevelLabelScheme(*ui_.Udp_Label, kSchemeUdp);
        ui_.IpAdr_Label->SetCaption(Q(engine::DottedAddress(share->IpAddr)));
        ui_.Port_Label->SetCaption(QString::number(share->Port));
    }
    SetShareLed(share->Active ? components::lcdGreen : components::lcdGray, false);
}

void TStreamer_Frame::SetShareLed(components::TColorLed color, bool on) {
    if (!shareLed_) return;
    shareLed_->LedColor().SetllColor(color);
    shareLed_->SetLedOn(on);
}

void TStreamer_Frame::SetRunning(bool on) {
    transferCount_ = 0;
    ShowFtpTransfer(0, true);
    uploadErrors_ = 0;
    ShowShare();
    const auto share = share_.lock();
    if (share && share->Active && shareLed_) shareLed_->SetLedOn(on);
    if (on) {
        if (!share) return;
        if (share->FtpActive) ui_.FtpOn_Led->SetLedOn(true);
        if (share->VideoActive) ui_.Video_LED->SetLedOn(true);
        if (share->ImageActive) ui_.Snap_LED->SetLedOn(true);
        if (share->FileActive) ui_.File_LED->SetLedOn(true);
        return;
    }
    ui_.FtpErr_Led->SetLedOn(false);
    ui_.FtpOn_Led->SetLedOn(false);
    SetLedState(*ui_.Upload_Led, kLedStateGreen, false);
    ui_.Upload_Label->SetCaption("");
    ui_.FtpLen_Label->SetCaption("");
    ui_.LastUpload_Label->SetCaption("");
    restartTimer_.SetEnabled(false);
    for (components::TLedLabel* led : {ui_.Video_LED, ui_.Snap_LED, ui_.File_LED}) led->SetLedOn(false);
}

void TStreamer_Frame::ShowHttpState() {
    const auto share = share_.lock();
    if (!share || !share->Active) return;
    const auto entry = std::dynamic_pointer_cast<THttpServerEntry>(share->HttpServer);
    if (!entry || !entry->Server) return;
    ui_.HttpOn_Led->SetLedOn(entry->Server->Listening());
    ui_.HttpErr_Led->SetLedOn(entry->Server->ListenError());
}

void TStreamer_Frame::RefreshHttpState() { ShowHttpState(); }

void TStreamer_Frame::ShowHttpRequest() {
    if (const auto share = share_.lock(); share && share->Active) ui_.HttpData_Led->SetLedOn(true);
}

void TStreamer_Frame::ShowHttpSend() {
    if (const auto share = share_.lock(); share && share->Active) ui_.HttpSend_Led->SetLedOn(true);
}

void TStreamer_Frame::SetHttpErrLed(bool on) { ui_.HttpErr_Led->SetLedOn(on); }

void TStreamer_Frame::ShowFtpTransfer(int64_t bytes, bool reset) {
    if (reset) {
        ui_.FtpLen_Label->SetCaption("0");
        ui_.FtpFiles_Label->SetCaption("0");
        return;
    }
    if (bytes == 0) return;
    const char separator = LocaleSettings().ThousandSeparator;
    ui_.FtpLen_Label->SetCaption(Q(KiloBytesText(bytes, separator)));
    ++transferCount_;
    ui_.FtpFiles_Label->SetCaption(Q(GroupedNumber(transferCount_, separator)));
    ui_.LastUpload_Label->SetCaption(Q(engine::FormatLocalTime(std::chrono::system_clock::now(), LocaleSettings().TimeFormat)));
}

bool TStreamer_Frame::Resolve(engine::PCaptureStreamer& share, std::shared_ptr<TCaptureService>& service,
                              std::shared_ptr<engine::TScreenCapture>& capture) const {
    share = share_.lock();
    service = context_.Service.lock();
    capture = Capture();
    return share && capture && capture->Streamers->IndexOfStreamer(share.get()) >= 0;
}

std::shared_ptr<engine::TScreenCapture> TStreamer_Frame::Capture() const {
    const auto service = context_.Service.lock();
    return service ? service->Capture() : nullptr;
}

void TStreamer_Frame::WMFtpNotify(intptr_t wParam, intptr_t lParam) {
    engine::PCaptureStreamer share;
    std::shared_ptr<TCaptureService> service;
    std::shared_ptr<engine::TScreenCapture> capture;
    if (!Resolve(share, service, capture)) return;
    // The panel's running lamp shows the service switched on.
    const bool panelRunning = service->SwitchedOn();
    const int32_t n = capture->CaptureIdx;
    switch (wParam) {
        case engine::cfWork:
            if (!panelRunning) return;
            ui_.FtpData_Led->SetLedOn(true);
            ui_.FtpErr_Led->SetLedOn(false);
            return;
        case engine::cfError:
            if (!service->Running()) return;
            ui_.FtpErr_Led->SetLedOn(true);
            Log(IdxTag(n) + "FtpErrorIdx: " + std::to_string(lParam), engine::kLogError);
            return;
        case engine::cfUploadTime:
            if (panelRunning) ShowUploadTime(lParam, n, *service);
            return;
        case engine::cfWorkBegin:
            if (!panelRunning || lParam <= 0) return;
            ShowFtpTransfer(lParam, false);
            Log(IdxTag(n) + "upload: " + std::to_string(lParam) + " bytes", engine::kLogInfo);
            return;
        default:
            return;
    }
}

void TStreamer_Frame::ShowUploadTime(intptr_t milliseconds, int32_t captureIdx, TCaptureService& service) {
    const auto settings = engine::Settings();
    const TLocaleSettings locale = LocaleSettings();
    const float secs = static_cast<float>(milliseconds) / kMsPerSecond;
    ui_.Upload_Label->SetCaption(Q(FormatDecimal(secs, 1, true, locale) + " [" + std::to_string(settings->SegLen) + "]"));
    const std::string secsText = FormatDecimal(secs, 2, false, locale);
    if (secs < settings->SegLen) {
        SetLedState(*ui_.Upload_Led, kLedStateGreen, true);
        uploadErrors_ = 0;
        Log(IdxTag(captureIdx) + "FtpUpload Time: " + secsText + " sec", engine::kLogInfo);
        return;
    }
    SetLedState(*ui_.Upload_Led, kLedStateRed, true);
    Log(IdxTag(captureIdx) + "FtpUploadError Time: " + secsText + " sec", engine::kLogError);
    ++uploadErrors_;
    if (uploadErrors_ < settings->FtpErrThr) return;
    const int errors = uploadErrors_;
    const QPointer<TStreamer_Frame> self(this);
    service.StopJob();  // waits with events running: the tab may be gone afterwards
    Log(IdxTag(captureIdx) + "FtpUploadError [" + std::to_string(errors) + "] - Restart", engine::kLogError);
    if (self) restartTimer_.SetEnabled(true);
}

void TStreamer_Frame::Restart_TimerTimer() {
    restartTimer_.SetEnabled(false);
    engine::PCaptureStreamer share;
    std::shared_ptr<TCaptureService> service;
    std::shared_ptr<engine::TScreenCapture> capture;
    if (Resolve(share, service, capture)) service->StartJob();
}

}  // namespace app
