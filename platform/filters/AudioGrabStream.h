// The audio-grab filter's output pin: PCM buffers of kAudioFramesPerBuffer frames, each stamped with its
// place in the stream (buffer n runs from n to n + 1 buffer lengths). A live source paces the stream; the
// tone is paced by the clock.
#pragma once

#include <chrono>
#include <memory>

#include "platform/dshow/source_stream.h"
#include "platform/filters/AudioSource.h"

namespace platform {

class TAudioGrabFilter;

class TAudioGrabStream final : public dshow::TSourceStream {
public:
    static constexpr LONG kBufferCount = 4;
    static constexpr std::chrono::milliseconds kIdlePollMs{10};  // while inactive or paused

    explicit TAudioGrabStream(TAudioGrabFilter* filter);

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT GetMediaType(int position, dshow::TMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

protected:
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT OnThreadStart() override;
    void OnThreadDestroy() override;

private:
    bool WaitUntilDelivering();  // false when the stream is asked to stop
    void CloseSource();
    void PaceGeneratedSound();
    void ReadSound(int16_t* samples);

    TAudioGrabFilter* owner_;
    std::unique_ptr<IAudioSource> source_;  // the streaming thread's alone; opened while delivering
    int64_t bufferNo_ = 0;
    std::chrono::steady_clock::time_point firstBufferAt_;
};

}  // namespace platform
