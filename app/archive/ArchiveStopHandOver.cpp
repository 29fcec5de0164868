#include "app/archive/ArchiveStopHandOver.h"

#include <algorithm>
#include <mutex>

#include "platform/ui/message_target.h"

namespace app {

// The thread-safe part that the archive thread reaches; it knows the target only by its handle.
class TArchiveStopHandOver::TRelay : public IArchiveHost {
public:
    std::vector<int32_t> CaptureIndices() override {
        std::lock_guard lock(mutex_);
        return indices_;
    }

    void StopCapturesForDiskSpace(const std::vector<int32_t>& captureIndices) override {
        std::lock_guard lock(mutex_);
        for (int32_t idx : captureIndices)
            if (std::find(pending_.begin(), pending_.end(), idx) == pending_.end()) pending_.push_back(idx);
        // One message at a time: a busy user-interface thread gets one stop for all that came meanwhile.
        if (!posted_ && target_ != 0 && !pending_.empty()) posted_ = platform::PostMessage(target_, kWmArchiveStopCaptures, 0, 0);
    }

    void SetIndices(std::vector<int32_t> indices) {
        std::lock_guard lock(mutex_);
        indices_ = std::move(indices);
    }

    void SetTarget(platform::WindowHandle target) {
        std::lock_guard lock(mutex_);
        target_ = target;
    }

    std::vector<int32_t> TakePending() {
        std::lock_guard lock(mutex_);
        posted_ = false;
        std::vector<int32_t> taken;
        taken.swap(pending_);
        return taken;
    }

private:
    std::mutex mutex_;
    std::vector<int32_t> indices_;
    std::vector<int32_t> pending_;
    bool posted_ = false;
    platform::WindowHandle target_ = 0;
};

TArchiveStopHandOver::TArchiveStopHandOver(TStopCaptures stopCaptures) : relay_(std::make_shared<TRelay>()) {
    std::weak_ptr<TRelay> weakRelay = relay_;
    target_ = std::make_unique<platform::MessageTarget>(
        [weakRelay, stopCaptures = std::move(stopCaptures)](uint32_t msg, intptr_t, intptr_t) {
            if (msg != kWmArchiveStopCaptures) return;
            auto relay = weakRelay.lock();
            if (!relay) return;
            if (std::vector<int32_t> indices = relay->TakePending(); !indices.empty()) stopCaptures(indices);
        });
    relay_->SetTarget(target_->Handle());
}

TArchiveStopHandOver::~TArchiveStopHandOver() { relay_->SetTarget(0); }

std::shared_ptr<IArchiveHost> TArchiveStopHandOver::Host() const { return relay_; }

void TArchiveStopHandOver::SetCaptureIndices(std::vector<int32_t> indices) { relay_->SetIndices(std::move(indices)); }

}  // namespace app
