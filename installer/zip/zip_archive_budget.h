// The output allowed for all entries of one archive together, so that a decompression bomb spread over
// many entries stops too. The caller keeps one per archive and hands it to every extraction.
#pragma once

#include <cstdint>

namespace hollarin {

// A libVLC release unpacks to a few hundred megabytes; nothing we install comes near this.
constexpr uint64_t kMaxArchiveOutputBytes = uint64_t(2) << 30;

class TZipArchiveBudget {
public:
    explicit TZipArchiveBudget(uint64_t capBytes = kMaxArchiveOutputBytes) : cap_(capBytes) {}
    // Books n more bytes; false (and nothing booked) when they would pass the cap.
    bool Take(uint64_t n) {
        if (n > cap_ - used_) return false;
        used_ += n;
        return true;
    }
    uint64_t Used() const { return used_; }
    uint64_t Cap() const { return cap_; }

private:
    uint64_t cap_;
    uint64_t used_ = 0;
};

}  // namespace hollarin
