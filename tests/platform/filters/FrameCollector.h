// A renderer for tests: accepts one media subtype (or any) and keeps a copy of every sample with its
// time stamps, so a test can look at what reached the end of a graph.
#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/dshow/base_renderer.h"

namespace fw_test {

constexpr CLSID CLSID_TestFrameCollector = {0x5E1D0A01, 0x1111, 0x4222, {0x83, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};

class TFrameCollector final : public dshow::TBaseRenderer {
public:
    struct Frame {
        std::vector<uint8_t> Bytes;
        REFERENCE_TIME Start = 0, Stop = 0;
    };

    static ComPtr<IBaseFilter> Create(TFrameCollector** self) {
        auto* collector = new TFrameCollector();
        ComPtr<IBaseFilter> filter;
        dshow::QueryNewObject(collector, IBaseFilter::iid, filter.PutVoid());
        *self = collector;
        return filter;
    }

    DSHOW_DECLARE_IUNKNOWN

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override { return pmt ? S_OK : E_POINTER; }
    HRESULT SetMediaType(const AM_MEDIA_TYPE* pmt) override {
        std::lock_guard lock(mutex_);
        type_ = dshow::TMediaType(*pmt);
        return S_OK;
    }
    HRESULT DoRenderSample(IMediaSample* sample) override {
        BYTE* p = nullptr;
        if (FAILED(sample->GetPointer(&p))) return S_OK;
        Frame f;
        f.Bytes.assign(p, p + sample->GetActualDataLength());
        sample->GetTime(&f.Start, &f.Stop);
        std::lock_guard lock(mutex_);
        frames_.push_back(std::move(f));
        cv_.notify_all();
        return S_OK;
    }

    std::vector<Frame> Frames() {
        std::lock_guard lock(mutex_);
        return frames_;
    }
    dshow::TMediaType Type() {
        std::lock_guard lock(mutex_);
        return type_;
    }
    bool WaitForFrames(size_t n, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, timeout, [&] { return frames_.size() >= n; });
    }

private:
    TFrameCollector() : TBaseRenderer(CLSID_TestFrameCollector, "Collector") {}
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Frame> frames_;
    dshow::TMediaType type_;
};

}  // namespace fw_test
