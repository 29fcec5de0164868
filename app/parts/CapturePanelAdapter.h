// A capture service's panel (TCapture_Frame with its share status tabs) as the main window sees it.
// The adapter owns the panel; the panel goes when the adapter goes.
#pragma once

#include <QPointer>
#include <memory>

#include "app/mainform/MainFormParts.h"
#include "app/windows/capture_panel/CaptureFrame.h"

namespace app {

class TStreamer_Frame;

class TCapturePanelAdapter final : public ICapturePanel {
public:
    TCapturePanelAdapter(TCapturePanelHooks hooks, std::shared_ptr<TCaptureService> service);
    ~TCapturePanelAdapter() override;

    QWidget* Widget() override { return frame_; }
    void InitPanel() override { frame_->InitPanel(); }
    void ShowCapture() override { frame_->ShowCapture(); }
    void ToggleMinimized() override { frame_->ToggleMinimized(); }
    void StopStatusTimer() override { frame_->StopStatusTimer(); }
    void RefreshHttpState() override;

    void SetShareHttpError(const engine::TCaptureStreamer& share, bool on) override;
    void LightShareHttpRequest(const engine::TCaptureStreamer& share) override;
    void LightShareHttpSend(const engine::TCaptureStreamer& share) override;

    TCapture_Frame& Frame() { return *frame_; }

private:
    TStreamer_Frame* TabOf(const engine::TCaptureStreamer& share) const;

    QPointer<TCapture_Frame> frame_;
};

}  // namespace app
