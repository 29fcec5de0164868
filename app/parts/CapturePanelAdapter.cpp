#include "app/parts/CapturePanelAdapter.h"

#include "app/windows/capture_panel/ShareStatusTab.h"

namespace app {

TCapturePanelAdapter::TCapturePanelAdapter(TCapturePanelHooks hooks, TCaptureListEntry& entry,
                                           std::weak_ptr<engine::TScreenCapture> capture)
    : frame_(new TCapture_Frame(std::move(hooks))) {
    frame_->SetEntry(&entry, std::move(capture));
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
