// A source filter for tests and benchmarks: one output pin that offers the given media types and
// delivers whatever the test pushes, in order, from its streaming thread.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/dshow/media_type.h"
#include "platform/dshow/source_stream.h"

namespace fw_test {

struct TPushedSample {
    std::vector<uint8_t> data = {};
    std::optional<std::pair<REFERENCE_TIME, REFERENCE_TIME>> times = std::nullopt;
    bool endOfStream = false;
    // Sent instead of data when set: a benchmark pushes one buffer many times without copying it first.
    std::shared_ptr<const std::vector<uint8_t>> shared = nullptr;
    // With shared: like an upstream filter that makes its output in place, the stream copies the bytes
    // into each of its media buffers once; a buffer that holds them already goes out as it is.
    bool inPlace = false;
    // The sample gets the start time of `times` alone (it then reports VFW_S_NO_STOP_TIME).
    bool startTimeOnly = false;
};

class TPushStream final : public dshow::TSourceStream {
public:
    TPushStream(dshow::TSource* filter, std::vector<dshow::TMediaType> types, long bufferBytes);

    void Push(TPushedSample sample);
    size_t Pending();
    // Samples that downstream took (Deliver answered S_OK) -- counted after delivery.
    size_t Delivered();
    // An allocator the pin prefers to the downstream pin's (set before connecting).
    void PreferAllocator(ComPtr<IMemAllocator> allocator) { preferred_ = std::move(allocator); }

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT GetMediaType(int position, dshow::TMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

protected:
    HRESULT FillBuffer(IMediaSample* sample) override;
    ComPtr<IMemAllocator> PreferredAllocator() override { return preferred_; }

private:
    ComPtr<IMemAllocator> preferred_;
    std::vector<dshow::TMediaType> types_;
    long bufferBytes_;
    std::mutex mutex_;
    std::deque<TPushedSample> pending_;
    size_t taken_ = 0;      // samples filled into a media buffer
    size_t delivered_ = 0;  // of those, the ones downstream has answered for with S_OK
    // The shared buffer each media buffer was last filled from (streaming thread only).
    std::map<const BYTE*, const std::vector<uint8_t>*> filledFrom_;
};

class TPushSource final : public dshow::TSource {
public:
    static constexpr CLSID kClsid = {0x1B2C3D4E, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};

    // A new filter with one reference.
    static ComPtr<IBaseFilter> Create(std::vector<dshow::TMediaType> types, long bufferBytes,
                                      TPushStream** stream);

private:
    TPushSource(std::vector<dshow::TMediaType> types, long bufferBytes);
    TPushStream* stream_;
};

// Types the tests use.
dshow::TMediaType VideoType(const GUID& subtype, int width, int height, int bitCount, REFERENCE_TIME avgTimePerFrame);
dshow::TMediaType AudioType(int samplesPerSec, int channels);

// The first pin of the given direction.
ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction);

}  // namespace fw_test
