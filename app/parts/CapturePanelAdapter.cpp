#include "app/parts/CapturePanelAdapter.h"

#include "app/windows/capture_panel/ShareStatusTab.h"

namespace app {

TCapturePanelAdapter::TCapturePanelAdapter(TCapturePanelHooks hooks, std::shared_ptr<TCaptureService> service)
    : frame_(new TCapture_Frame(std::move(hooks))) {
    frame_->SetService(std::move(service));
}

TCapturePanelAdapter::~TCapturePanelAdapter() { delete frame_.data(); }

void TCapturePanelAdapter::RefreshHttpState() {
    for (TStreamer_Frame* tab : frame_->StreamerFrames()) tab->RefreshHttpState();
}

TStreamer_Frame* TCapturePanelAdapter::TabOf(const engine::TCaptureStreamer& share) const {
    return frame_->FindStreamerFrame(share.Index);
}

void TCapturePanelAdapter::SetShareHttpError(const engine::TCaptureStreamer& share, bool on) {
    if (TStreamer_Frame* tab = TabOf(share)) tab->SetHttpErrLed(on);
}

void TCapturePanelAdapter::LightShareHttpRequest(const engine::TCaptureStreamer& share) {
    if (TStreamer_Frame* tab = TabOf(share)) tab->ShowHttpRequest();
}

void TCapturePanelAdapter::LightShareHttpSend(const engine::TCaptureStreamer& share) {
    if (TStreamer_Frame* tab = TabOf(share)) tab->ShowHttpSend();
}

}  // namespace app
