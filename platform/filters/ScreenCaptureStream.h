// The screen-capture filter's output pin: top-down RGB32 pictures (a negative height in the type) at
// the filter's frame rate, each stamped with its place in the stream (picture n runs from n to n + 1
// frame periods). Its samples are shared buffers that the X server fills without a copy in between.
#pragma once

#include <chrono>

#include "platform/dshow/source_stream.h"

namespace platform {

class TScreenCaptureFilter;

class TScreenCaptureStream final : public dshow::TSourceStream {
public:
    static constexpr LONG kBufferCount = 3;

    explicit TScreenCaptureStream(TScreenCaptureFilter* filter);

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT GetMediaType(int position, dshow::TMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

protected:
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT OnThreadStart() override;
    ComPtr<IMemAllocator> PreferredAllocator() override;

private:
    TScreenCaptureFilter* owner_;
    int64_t frameNo_ = 0;
    std::chrono::steady_clock::time_point firstFrameAt_;
};

}  // namespace platform
