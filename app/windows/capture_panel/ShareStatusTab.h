// TStreamer_Frame, the status tab of one share inside its capture panel: the share's destination and
// protocol, its outputs, the web server's state and the live feedback of its FTP mirror. The tab owns
// the message target whose handle becomes the FrameHandle of what runs for the share in its job, so
// the mirror thread posts wmFtpNotify here; after FtpErrThr slow uploads in a row it asks the capture
// service to stop the job and, 2 s later, to start it again. The share's lamp is owned and painted here
// too and shown in the panel's tab strip.
//
// User-interface thread only. The share and the capture service are not owned: the tab holds them
// weakly and ignores every notification that arrives after either (or the service's entry) is gone.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "components/LedLabel.h"
#include "engine/capture/settings/CaptureStreamer.h"
#include "platform/ui/message_target.h"
#include "platform/ui/ttimer.h"

class QLabel;

namespace components {
class TBevelLabel;
}

namespace engine {
class TScreenCapture;
}

namespace app {

class TCaptureService;

constexpr uint32_t kFtpRestartDelayMs = 2000;
constexpr int kMsPerSecond = 1000;

// What the tab needs of its capture panel: the capture service the panel shows.
struct TStreamerFrameContext {
    std::weak_ptr<TCaptureService> Service;
};

class TStreamer_Frame : public QWidget {
public:
    TStreamer_Frame(TStreamerFrameContext context, QWidget* parent = nullptr);
    ~TStreamer_Frame() override;

    // Binds the tab to its share (whose FrameHandle becomes this tab's handle) and shows it.
    void Init(const engine::PCaptureStreamer& share, QWidget* sheet);
    // Shows the share as started or stopped.
    void SetRunning(bool on);
    // Web-server lamps from the share's web server.
    void RefreshHttpState();
    void WMFtpNotify(intptr_t wParam, intptr_t lParam);
    void Restart_TimerTimer();

    // The main window's notifications for this share (only while the share is active).
    void ShowHttpRequest();
    void ShowHttpSend();
    void SetHttpErrLed(bool on);

    engine::PCaptureStreamer Streamer() const { return share_.lock(); }
    QWidget* Sheet() const { return sheet_; }
    platform::WindowHandle Handle() const { return target_.Handle(); }
    int UploadErrors() const { return uploadErrors_; }
    int64_t TransferCount() const { return transferCount_; }
    bool RestartPending() const { return restartTimer_.Enabled(); }
    components::TLedLabel& ShareLed() { return *shareLed_; }

    struct TControls {
        components::TBevelLabel* IpAdr_Label;
        components::TBevelLabel* Port_Label;
        components::TBevelLabel* Udp_Label;
        QWidget* FtpUpload_Panel;
        components::TBevelLabel* FtpLen_Label;
        components::TBevelLabel* Upload_Label;
        components::TBevelLabel* FtpFiles_Label;
        components::TBevelLabel* LastUpload_Label;
        components::TLedLabel* Upload_Led;
        QWidget* Status_Panel;
        components::TLedLabel* HttpOn_Led;
        components::TLedLabel* HttpData_Led;
        components::TLedLabel* HttpSend_Led;
        components::TLedLabel* HttpErr_Led;
        components::TLedLabel* FtpOn_Led;
        components::TLedLabel* FtpData_Led;
        components::TLedLabel* FtpErr_Led;
        components::TLedLabel* Video_LED;
        components::TLedLabel* Snap_LED;
        components::TLedLabel* File_LED;
        QLabel* VidCaption;
    };
    const TControls& Controls() const { return ui_; }

private:
    void BuildControls();
    void Reset();
    void ShowShare();
    void ShowHttpState();
    void ShowFtpTransfer(int64_t bytes, bool reset);
    void ShowUploadTime(intptr_t milliseconds, int32_t captureIdx, TCaptureService& service);
    void SetShareLed(components::TColorLed color, bool on);
    // The share, its capture service and the service's job while all exist and the share is still one
    // of the job's.
    bool Resolve(engine::PCaptureStreamer& share, std::shared_ptr<TCaptureService>& service,
                 std::shared_ptr<engine::TScreenCapture>& capture) const;
    // The job of the tab's capture service; none once the service is gone.
    std::shared_ptr<engine::TScreenCapture> Capture() const;

    TStreamerFrameContext context_;
    std::weak_ptr<engine::TCaptureStreamer> share_;
    QWidget* sheet_ = nullptr;
    int uploadErrors_ = 0;
    int64_t transferCount_ = 0;
    TControls ui_{};
    QPointer<components::TLedLabel> shareLed_;  // lives in the tab strip; freed with this tab
    platform::TTimer restartTimer_;
    platform::MessageTarget target_;
};

}  // namespace app
