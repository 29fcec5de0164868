#include "installer/zip/zip_extraction_lock.h"

#include <chrono>

namespace hollarin {

uint64_t TZipExtractionLock::TryAcquire(int64_t nowMs) {
    std::lock_guard lock(mutex_);
    if (holder_ != 0 && nowMs - lastActivityMs_ <= kStaleLockMs) return 0;
    holder_ = nextTicket_++;
    lastActivityMs_ = nowMs;
    return holder_;
}

void TZipExtractionLock::Touch(uint64_t ticket, int64_t nowMs) {
    std::lock_guard lock(mutex_);
    if (ticket != 0 && ticket == holder_) lastActivityMs_ = nowMs;
}

void TZipExtractionLock::Release(uint64_t ticket) {
    std::lock_guard lock(mutex_);
    if (ticket != 0 && ticket == holder_) holder_ = 0;
}

TZipExtractionLock& TZipExtractionLock::Process() {
    static TZipExtractionLock lock;
    return lock;
}

int64_t TZipExtractionLock::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace hollarin
