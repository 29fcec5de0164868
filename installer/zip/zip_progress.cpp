#include "installer/zip/zip_progress.h"

#include <utility>

namespace hollarin {

TZipProgress::TZipProgress(TZipProgressWindow* window, uint16_t progressId, platform::TMessagePump* pump,
                           platform::TKeyboardState* keys, std::function<void()> onActivity,
                           const std::atomic<bool>* stop)
    : window_(window),
      progressId_(progressId),
      pump_(pump),
      keys_(keys),
      onActivity_(std::move(onActivity)),
      stop_(stop) {}

void TZipProgress::Pump() {
    if (onActivity_) onActivity_();
    if (pump_) pump_->Pump();
}

void TZipProgress::Send() {
    if (!window_) return;
    window_->OnProgress(progressId_, lastPercent_);
    if (lastPercent_ == kZipAbortPercent) aborted_ = true;
}

void TZipProgress::Check(uint64_t bytesRead, uint64_t compressedSize) {
    if (stop_ && stop_->load()) {
        aborted_ = true;
        return;
    }
    if (compressedSize == 0) return;
    uint64_t percent = bytesRead * 100 / compressedSize;
    if (percent > 100) percent = 100;
    if (percent == lastPercent_) return;
    lastPercent_ = uint16_t(percent);
    if (window_)
        Send();
    else if (progressId_ != 0 && keys_ && keys_->IsKeyDown(progressId_))
        aborted_ = true;
}

void TZipProgress::ReportStart() {
    lastPercent_ = 0;
    Send();
}

void TZipProgress::ReportDone() {
    lastPercent_ = 100;
    Send();
}

}  // namespace hollarin
