// Keeps every notification the mirror posts, in order, for the tests to look at.
#pragma once

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "engine/ftp/ftp_notify.h"

namespace fw_test {

class RecordingNotifier final : public engine::FtpNotifier {
public:
    using Note = std::pair<intptr_t, intptr_t>;

    void Post(intptr_t wParam, intptr_t lParam) override {
        std::lock_guard lock(mutex_);
        notes_.emplace_back(wParam, lParam);
    }
    std::vector<Note> notes() const {
        std::lock_guard lock(mutex_);
        return notes_;
    }
    std::vector<Note> TakeNotes() {
        std::lock_guard lock(mutex_);
        return std::exchange(notes_, {});
    }
    size_t Count(intptr_t wParam, intptr_t lParam = -1) const {
        std::lock_guard lock(mutex_);
        return std::count_if(notes_.begin(), notes_.end(), [&](const Note& n) {
            return n.first == wParam && (lParam == -1 || n.second == lParam);
        });
    }

private:
    mutable std::mutex mutex_;
    std::vector<Note> notes_;
};

}  // namespace fw_test
