#include "platform/filters/ScreenCaptureStream.h"

#include <algorithm>

#include "platform/dshow/mem_allocator.h"
#include "platform/filters/ScreenCaptureFilter.h"
#include "platform/filters/SharedFrameMemory.h"

namespace platform {

TScreenCaptureStream::TScreenCaptureStream(TScreenCaptureFilter* filter)
    : dshow::TSourceStream(filter, "Output"), owner_(filter) {}

HRESULT TScreenCaptureStream::CheckMediaType(const AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    dshow::TMediaType ours;
    if (GetMediaType(0, &ours) != S_OK) return S_FALSE;  // no record yet: no picture size
    if (pmt->majortype != MEDIATYPE_Video || pmt->subtype != MEDIASUBTYPE_RGB32 ||
        pmt->formattype != FORMAT_VideoInfo || !pmt->pbFormat || pmt->cbFormat < sizeof(VIDEOINFOHEADER))
        return S_FALSE;
    const auto* want = ours.FormatAs<VIDEOINFOHEADER>();
    VIDEOINFOHEADER vih;
    std::copy_n(pmt->pbFormat, sizeof vih, reinterpret_cast<BYTE*>(&vih));
    return vih.bmiHeader.biWidth == want->bmiHeader.biWidth && vih.bmiHeader.biHeight == want->bmiHeader.biHeight &&
                   vih.bmiHeader.biBitCount == 32
               ? S_OK
               : S_FALSE;
}

HRESULT TScreenCaptureStream::GetMediaType(int position, dshow::TMediaType* mt) {
    if (!mt) return E_POINTER;
    const std::optional<TScreenCaptureSettings> s = owner_->Settings();
    if (position != 0 || !s) return VFW_S_NO_MORE_ITEMS;
    VIDEOINFOHEADER vih{};
    vih.AvgTimePerFrame = kUnitsPerSecond / s->FrameRate;
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = s->OutWidth;
    vih.bmiHeader.biHeight = -s->OutHeight;  // negative: rows top-down, as the screen gives them
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = 32;
    vih.bmiHeader.biSizeImage = static_cast<DWORD>(s->OutWidth) * s->OutHeight * 4;
    *mt = dshow::TMediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB32);
    (*mt)->bFixedSizeSamples = TRUE;
    (*mt)->lSampleSize = vih.bmiHeader.biSizeImage;
    return mt->SetFormat(FORMAT_VideoInfo, &vih, sizeof vih) ? S_OK : E_OUTOFMEMORY;
}

HRESULT TScreenCaptureStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    if (!allocator || !request) return E_POINTER;
    const std::optional<TScreenCaptureSettings> s = owner_->Settings();
    if (!s) return E_UNEXPECTED;
    const LONG frameBytes = static_cast<LONG>(s->OutWidth) * s->OutHeight * 4;
    request->cBuffers = std::max(request->cBuffers, kBufferCount);
    request->cbBuffer = std::max(request->cbBuffer, frameBytes);
    if (request->cbAlign < 1) request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) return hr;
    return actual.cbBuffer >= frameBytes ? S_OK : E_FAIL;
}

ComPtr<IMemAllocator> TScreenCaptureStream::PreferredAllocator() {
    // The downstream pin may keep the allocator after this filter has gone: the code it calls back
    // keeps this library loaded.
    const dshow::TComModule::TObjectToken keepLoaded(TScreenCaptureFilter::Module());
    return dshow::TMemAllocator::Create([keepLoaded](size_t bytes) {
        if (uint8_t* shared = AllocateSharedFrame(bytes))
            return dshow::TSampleMemory{shared, bytes, [shared, keepLoaded] { FreeSharedFrame(shared); }};
        return dshow::HeapSampleMemory(bytes);  // no shared memory: the grab copies, nothing else changes
    });
}

HRESULT TScreenCaptureStream::OnThreadStart() {
    frameNo_ = 0;
    firstFrameAt_ = std::chrono::steady_clock::now();
    owner_->ResetFrameCount();
    return S_OK;
}

HRESULT TScreenCaptureStream::FillBuffer(IMediaSample* sample) {
    const std::optional<TScreenCaptureSettings> s = owner_->Settings();
    if (!s) return E_UNEXPECTED;
    using namespace std::chrono;
    const auto period = duration_cast<steady_clock::duration>(nanoseconds(1'000'000'000LL / s->FrameRate));
    const auto now = steady_clock::now();
    auto due = firstFrameAt_ + period * frameNo_;
    // After a long stall (a slow screen, a paused graph) start afresh instead of sending a burst.
    if (now - due > 2 * period) {
        firstFrameAt_ = now - period * frameNo_;
        due = now;
    }
    if (due > now) WaitFor([] { return false; }, duration_cast<milliseconds>(due - now));

    BYTE* buffer = nullptr;
    HRESULT hr = sample->GetPointer(&buffer);
    if (FAILED(hr)) return hr;
    const size_t bytes = static_cast<size_t>(s->OutWidth) * s->OutHeight * 4;
    if (static_cast<size_t>(sample->GetSize()) < bytes) return VFW_E_BUFFER_OVERFLOW;
    // A failed grab still sends its black picture: the stream goes on.
    owner_->FillFrame(buffer, bytes, TRowOrder::TopDown);
    REFERENCE_TIME start = frameNo_ * (kUnitsPerSecond / s->FrameRate);
    REFERENCE_TIME stop = start + kUnitsPerSecond / s->FrameRate;
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    sample->SetActualDataLength(static_cast<LONG>(bytes));
    ++frameNo_;
    owner_->CountFrame();
    return S_OK;
}

}  // namespace platform
