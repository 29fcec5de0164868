#include "tests/platform/dshow/test_push_source.h"

#include <cstring>

namespace fw_test {

TPushStream::TPushStream(dshow::TSource* filter, std::vector<dshow::TMediaType> types, long bufferBytes)
    : dshow::TSourceStream(filter, "Out"), types_(std::move(types)), bufferBytes_(bufferBytes) {}

void TPushStream::Push(TPushedSample sample) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(sample));
    }
    Wake();
}

size_t TPushStream::Pending() {
    std::lock_guard lock(mutex_);
    return pending_.size();
}

size_t TPushStream::Delivered() {
    std::lock_guard lock(mutex_);
    return delivered_;
}

HRESULT TPushStream::CheckMediaType(const AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    for (const auto& t : types_)
        if (t->majortype == pmt->majortype && t->subtype == pmt->subtype) return S_OK;
    return S_FALSE;
}

HRESULT TPushStream::GetMediaType(int position, dshow::TMediaType* mt) {
    if (position < 0 || position >= static_cast<int>(types_.size())) return VFW_S_NO_MORE_ITEMS;
    *mt = types_[position];
    return S_OK;
}

HRESULT TPushStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    request->cBuffers = 4;
    request->cbBuffer = bufferBytes_;
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
}

HRESULT TPushStream::FillBuffer(IMediaSample* sample) {
    {
        // The streaming thread fills the next sample only once downstream has answered for the last one.
        std::lock_guard lock(mutex_);
        delivered_ = taken_;
    }
    TPushedSample next;
    for (;;) {
        if (StopRequested()) return S_FALSE;
        if (WaitFor([this] {
                std::lock_guard lock(mutex_);
                return !pending_.empty();
            },
                    std::chrono::milliseconds(100)))
            break;
    }
    {
        std::lock_guard lock(mutex_);
        next = std::move(pending_.front());
        pending_.pop_front();
        ++taken_;
    }
    if (next.endOfStream) return S_FALSE;
    BYTE* p = nullptr;
    sample->GetPointer(&p);
    const std::vector<uint8_t>& data = next.shared ? *next.shared : next.data;
    const size_t n = std::min<size_t>(data.size(), static_cast<size_t>(sample->GetSize()));
    const bool holdsIt = next.shared && next.inPlace && filledFrom_[p] == next.shared.get();
    if (n > 0 && !holdsIt) std::memcpy(p, data.data(), n);
    filledFrom_[p] = next.shared && n == data.size() ? next.shared.get() : nullptr;
    sample->SetActualDataLength(static_cast<LONG>(n));
    if (next.times) sample->SetTime(&next.times->first, next.startTimeOnly ? nullptr : &next.times->second);
    return S_OK;
}

TPushSource::TPushSource(std::vector<dshow::TMediaType> types, long bufferBytes)
    : dshow::TSource("Push Source", kClsid) {
    auto stream = std::make_unique<TPushStream>(this, std::move(types), bufferBytes);
    stream_ = stream.get();
    AddStream(std::move(stream));
}

ComPtr<IBaseFilter> TPushSource::Create(std::vector<dshow::TMediaType> types, long bufferBytes, TPushStream** stream) {
    auto* filter = new TPushSource(std::move(types), bufferBytes);
    if (stream) *stream = filter->stream_;
    ComPtr<IBaseFilter> out;
    dshow::QueryNewObject(filter, IID_IBaseFilter, out.PutVoid());
    return out;
}

dshow::TMediaType VideoType(const GUID& subtype, int width, int height, int bitCount, REFERENCE_TIME avgTimePerFrame) {
    dshow::TMediaType mt(MEDIATYPE_Video, subtype);
    VIDEOINFOHEADER vih{};
    vih.AvgTimePerFrame = avgTimePerFrame;
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = width;
    vih.bmiHeader.biHeight = height;
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    mt.SetFormat(FORMAT_VideoInfo, &vih, sizeof vih);
    return mt;
}

dshow::TMediaType AudioType(int samplesPerSec, int channels) {
    dshow::TMediaType mt(MEDIATYPE_Audio, MEDIASUBTYPE_PCM);
    WAVEFORMATEX wfx{};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = static_cast<WORD>(channels);
    wfx.nSamplesPerSec = static_cast<DWORD>(samplesPerSec);
    wfx.wBitsPerSample = 16;
    wfx.nBlockAlign = static_cast<WORD>(channels * 2);
    wfx.nAvgBytesPerSec = wfx.nSamplesPerSec * wfx.nBlockAlign;
    mt.SetFormat(FORMAT_WaveFormatEx, &wfx, sizeof wfx);
    return mt;
}

ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Put()))) return {};
    for (;;) {
        IPin* pin = nullptr;
        ULONG fetched = 0;
        if (pins->Next(1, &pin, &fetched) != S_OK) return {};
        auto owned = ComPtr<IPin>::Attach(pin);
        PIN_DIRECTION d;
        owned->QueryDirection(&d);
        if (d == direction) return owned;
    }
}

}  // namespace fw_test
