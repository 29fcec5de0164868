#include "app/windows/editors/CaptureEditorContext.h"

namespace app {

void TCaptureWorkingCopy::Take(std::shared_ptr<engine::TScreenCapture> job) {
    job_ = std::move(job);
    if (!job_) return;
    params_ = job_->Params;
    internalPort_ = job_->InternalPort;
}

TCaptureJobView TCaptureWorkingCopy::ViewOf(const TCaptureListEntry& entry) {
    if (!job_ || job_ != entry.Capture) return {};
    return {&params_, job_->Streamers.get(), &internalPort_};
}

void TCaptureWorkingCopy::WriteBack() {
    if (!job_) return;
    job_->Params = params_;
    job_->InternalPort = internalPort_;
    if (params_.capKind == engine::kCapKindWindow) job_->FindWindowAgain();
    Drop();
}

void TCaptureWorkingCopy::Drop() { job_.reset(); }

}  // namespace app
