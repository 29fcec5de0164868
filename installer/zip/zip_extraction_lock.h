// The process-wide lock of the entry extraction: one extraction at a time. A holder whose last sign of
// life (its message pump) is more than kStaleLockMs old is taken over; the old holder's release then
// no longer frees the lock of the new one.
#pragma once

#include <cstdint>
#include <mutex>

namespace hollarin {

class TZipExtractionLock {
public:
    static constexpr int64_t kStaleLockMs = 30000;

    // A ticket (never 0) for the new holder, or 0 when another extraction holds the lock.
    uint64_t TryAcquire(int64_t nowMs);
    // Records a sign of life of the holder with this ticket.
    void Touch(uint64_t ticket, int64_t nowMs);
    void Release(uint64_t ticket);

    static TZipExtractionLock& Process();
    static int64_t NowMs();  // monotonic milliseconds

private:
    std::mutex mutex_;
    uint64_t holder_ = 0;  // 0: free
    uint64_t nextTicket_ = 1;
    int64_t lastActivityMs_ = 0;
};

// Holds a ticket of a lock for one scope.
class TZipExtractionLockHold {
public:
    TZipExtractionLockHold(TZipExtractionLock& lock, int64_t nowMs) : lock_(lock), ticket_(lock.TryAcquire(nowMs)) {}
    ~TZipExtractionLockHold() {
        if (ticket_) lock_.Release(ticket_);
    }
    TZipExtractionLockHold(const TZipExtractionLockHold&) = delete;
    TZipExtractionLockHold& operator=(const TZipExtractionLockHold&) = delete;
    bool Held() const { return ticket_ != 0; }
    void Touch(int64_t nowMs) { lock_.Touch(ticket_, nowMs); }

private:
    TZipExtractionLock& lock_;
    uint64_t ticket_;
};

}  // namespace hollarin
