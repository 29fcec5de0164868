// An archive host for tests: capture services as set, and every stop request recorded.
#pragma once

#include <mutex>
#include <vector>

#include "app/archive/ArchiveHost.h"

class TFakeArchiveHost : public app::IArchiveHost {
public:
    explicit TFakeArchiveHost(std::vector<int32_t> indices) : indices_(std::move(indices)) {}
    std::vector<int32_t> CaptureIndices() override {
        std::lock_guard lock(mutex_);
        return indices_;
    }
    void StopCapturesForDiskSpace(const std::vector<int32_t>& captureIndices) override {
        std::lock_guard lock(mutex_);
        stops_.push_back(captureIndices);
    }
    std::vector<std::vector<int32_t>> Stops() {
        std::lock_guard lock(mutex_);
        return stops_;
    }

private:
    std::mutex mutex_;
    std::vector<int32_t> indices_;
    std::vector<std::vector<int32_t>> stops_;
};
