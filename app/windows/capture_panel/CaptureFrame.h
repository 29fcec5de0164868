// TCapture_Frame, the panel of one capture service in the main window: what the service captures and
// how, its run time and lamps, the buttons Start, Stop, Settings, Delete Capture and Minimize /
// Maximize, and at its bottom one status tab per share (TStreamer_Frame).
//
// The panel shows its capture service (TCaptureService) and never starts or stops the job itself: its
// Start and Stop buttons, its Settings and its Delete ask the service, and the service tells the panel
// of each start and stop (CaptureServiceChanged), which the panel then paints.
//
// The main window makes one panel per capture service, binds it to the service (SetService), then
// calls InitPanel; it calls ShowCapture when a job reports OnRestart, ToggleMinimized for minimise-all
// and maximise-all, StopStatusTimer before it frees the entry, and RefreshHttpState of every share tab
// (StreamerFrames) from its status timer. User-interface thread only; neither the entry nor the job is
// owned.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "app/capture_service/CaptureService.h"
#include "app/windows/capture_panel/CaptureFrameControls.h"
#include "app/windows/capture_panel/CapturePanelHooks.h"
#include "app/windows/base/ShareTabCaptions.h"
#include "platform/ui/ttimer.h"

namespace engine {
class TScreenCapture;
}

namespace app {

struct TCaptureListEntry;
class TStreamer_Frame;

constexpr uint32_t kStatusTimerMs = 1000;

class TCapture_Frame : public QWidget, public IShareTabs, public ICaptureServiceView {
public:
    explicit TCapture_Frame(TCapturePanelHooks hooks, QWidget* parent = nullptr);
    ~TCapture_Frame() override;

    // The service shown here; the panel becomes its view.
    void SetService(std::shared_ptr<TCaptureService> service);
    // The service's entry and job; none once the entry has gone.
    TCaptureListEntry* Entry() const { return service_ ? service_->Entry() : nullptr; }
    std::shared_ptr<engine::TScreenCapture> Capture() const { return service_ ? service_->Capture() : nullptr; }

    void InitPanel();
    void ShowCapture();
    void ToggleMinimized();
    void StopStatusTimer() { statusTimer_.SetEnabled(false); }
    void ShowRunTime(int hours, int minutes, int seconds);
    void ClearLeds();

    // Start and Stop ask the service.
    void Connect_TBClick();
    void Disconn_TBClick();
    void Settings_TBClick();
    void Delete_TBClick();
    void Minimize_TBClick() { ToggleMinimized(); }
    void Status_TimerTimer();

    // 0 expanded, 1 collapsed.
    int Tag() const { return tag_; }
    int NormalHeight() const { return normalHeight_; }
    bool RestartAfterEdit = false;
    bool StatusTimerEnabled() const { return statusTimer_.Enabled(); }

    // The share tabs in tab order, and the tab of the share with that Index (nullptr for none).
    std::vector<TStreamer_Frame*> StreamerFrames() const;
    TStreamer_Frame* FindStreamerFrame(int32_t shareIndex) const;
    const TCaptureFrameControls& Controls() const { return ui_; }

    // IShareTabs: the capture-service editor renames the tabs and frees the tab of a deleted share.
    bool TabCaption(const engine::TCaptureStreamer& share, QString& caption) const override;
    void SetTabCaption(const engine::TCaptureStreamer& share, const QString& caption) override;
    void FreeTab(const engine::TCaptureStreamer& share) override;

    // ICaptureServiceView: the service's start or stop, painted.
    void CaptureServiceChanged(TCaptureServiceChange change) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ConnectButtons();
    void FrameResize();
    void ShowTitle();
    void ShowMethod(engine::TScreenCapture& capture);
    void ShowEncodings(const engine::TScreenCapture& capture);
    void ShowSourceKind(const engine::TScreenCapture& capture);
    void ShowRectangle(engine::TScreenCapture& capture);
    void ShowShareTabs(engine::TScreenCapture& capture);
    // The tab whose share is share (nullptr for none).
    TStreamer_Frame* FrameOfShare(const engine::TCaptureStreamer* share) const;
    int TabIndexOfShare(const engine::TCaptureStreamer& share) const;
    QWidget* LedForTab(int tabIndex) const;

    TCapturePanelHooks hooks_;
    std::shared_ptr<TCaptureService> service_;
    TCaptureFrameControls ui_;
    int tag_ = 0;
    int normalHeight_ = 0;
    platform::TTimer statusTimer_;
};

}  // namespace app
