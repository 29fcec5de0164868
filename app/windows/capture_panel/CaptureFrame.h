// TCapture_Frame, the panel of one capture service in the main window: what the service captures and
// how, its run time and lamps, the buttons Start, Stop, Settings, Delete Capture and Minimize /
// Maximize, and at its bottom one status tab per share (TStreamer_Frame).
//
// The main window makes one panel per capture service, binds it to the entry and the entry's capture
// job (SetEntry), then calls InitPanel; it calls StartStop for start-all and stop-all, ShowCapture when
// a job reports OnRestart, ToggleMinimized for minimise-all and maximise-all, StopStatusTimer before it
// frees the entry, and RefreshHttpState of every share tab (StreamerFrames) from its status timer.
// User-interface thread only; neither the entry nor the job is owned.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

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

class TCapture_Frame : public QWidget, public IShareTabs {
public:
    explicit TCapture_Frame(TCapturePanelHooks hooks, QWidget* parent = nullptr);
    ~TCapture_Frame() override;

    void SetEntry(TCaptureListEntry* entry, std::weak_ptr<engine::TScreenCapture> capture);
    TCaptureListEntry* Entry() const { return entry_; }
    std::shared_ptr<engine::TScreenCapture> Capture() const { return capture_.lock(); }

    void InitPanel();
    void ShowCapture();
    void StartStop(bool start);
    void ToggleMinimized();
    void StopStatusTimer() { statusTimer_.SetEnabled(false); }
    void ShowRunTime(int hours, int minutes, int seconds);
    void ClearLeds();

    void Connect_TBClick() { StartStop(true); }
    void Disconn_TBClick() { StartStop(false); }
    void Settings_TBClick();
    void Delete_TBClick();
    void Minimize_TBClick() { ToggleMinimized(); }
    void Status_TimerTimer();

    // 0 expanded, 1 collapsed.
    int Tag() const { return tag_; }
    int NormalHeight() const { return normalHeight_; }
    bool RestartAfterEdit = false;
    bool Running() const;  // the running lamp is lit
    bool StatusTimerEnabled() const { return statusTimer_.Enabled(); }

    // The share tabs in tab order, and the tab of the share with that Index (nullptr for none).
    std::vector<TStreamer_Frame*> StreamerFrames() const;
    TStreamer_Frame* FindStreamerFrame(int32_t shareIndex) const;
    const TCaptureFrameControls& Controls() const { return ui_; }

    // IShareTabs: the capture-service editor renames the tabs and frees the tab of a deleted share.
    bool TabCaption(const engine::TCaptureStreamer& share, QString& caption) const override;
    void SetTabCaption(const engine::TCaptureStreamer& share, const QString& caption) override;
    void FreeTab(const engine::TCaptureStreamer& share) override;

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
    void StartAudio();
    // The tab whose share is share (nullptr for none).
    TStreamer_Frame* FrameOfShare(const engine::TCaptureStreamer* share) const;
    int TabIndexOfShare(const engine::TCaptureStreamer& share) const;
    QWidget* LedForTab(int tabIndex) const;

    TCapturePanelHooks hooks_;
    TCaptureListEntry* entry_ = nullptr;
    std::weak_ptr<engine::TScreenCapture> capture_;
    TCaptureFrameControls ui_;
    int tag_ = 0;
    int normalHeight_ = 0;
    platform::TTimer statusTimer_;
};

}  // namespace app
