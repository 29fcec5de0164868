// The share tabs the capture-service editor renames and frees: those of the panel of the capture
// service being edited (none: the service has no panel, nothing happens). The editor is made once, so
// the panel is named again before each edit.
#pragma once

#include <QPointer>

#include "app/windows/capture_panel/CaptureFrame.h"
#include "app/windows/base/ShareTabCaptions.h"

namespace app {

class TEditedShareTabs final : public IShareTabs {
public:
    void SetPanel(TCapture_Frame* panel) { panel_ = panel; }

    bool TabCaption(const engine::TCaptureStreamer& share, QString& caption) const override {
        return panel_ && panel_->TabCaption(share, caption);
    }
    void SetTabCaption(const engine::TCaptureStreamer& share, const QString& caption) override {
        if (panel_) panel_->SetTabCaption(share, caption);
    }
    void FreeTab(const engine::TCaptureStreamer& share) override {
        if (panel_) panel_->FreeTab(share);
    }

private:
    QPointer<TCapture_Frame> panel_;
};

}  // namespace app
