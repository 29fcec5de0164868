#include "platform/filters/AudioGrabStream.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "platform/dshow/dshow_log.h"
#include "platform/filters/AudioGrabFilter.h"
#include "platform/filters/ToneAudioSource.h"

namespace platform {
namespace {

constexpr REFERENCE_TIME kBufferDuration = kUnitsPerMillisecond * kAudioBufferMs;

WAVEFORMATEX PcmFormat() {
    WAVEFORMATEX wf{};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = kAudioChannels;
    wf.nSamplesPerSec = kAudioSampleRateHz;
    wf.nBlockAlign = kAudioBytesPerFrame;
    wf.nAvgBytesPerSec = kAudioSampleRateHz * kAudioBytesPerFrame;
    wf.wBitsPerSample = kAudioBitsPerSample;
    wf.cbSize = 0;
    return wf;
}

}  // namespace

TAudioGrabStream::TAudioGrabStream(TAudioGrabFilter* filter) : dshow::TSourceStream(filter, "Output"), owner_(filter) {}

HRESULT TAudioGrabStream::CheckMediaType(const AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    if (pmt->majortype != MEDIATYPE_Audio || pmt->subtype != MEDIASUBTYPE_PCM ||
        pmt->formattype != FORMAT_WaveFormatEx || !pmt->pbFormat || pmt->cbFormat < sizeof(WAVEFORMATEX))
        return S_FALSE;
    WAVEFORMATEX wf;
    std::memcpy(&wf, pmt->pbFormat, sizeof wf);
    const WAVEFORMATEX ours = PcmFormat();
    return wf.wFormatTag == ours.wFormatTag && wf.nChannels == ours.nChannels &&
                   wf.nSamplesPerSec == ours.nSamplesPerSec && wf.wBitsPerSample == ours.wBitsPerSample &&
                   wf.nBlockAlign == ours.nBlockAlign
               ? S_OK
               : S_FALSE;
}

HRESULT TAudioGrabStream::GetMediaType(int position, dshow::TMediaType* mt) {
    if (!mt) return E_POINTER;
    if (position != 0) return VFW_S_NO_MORE_ITEMS;
    const WAVEFORMATEX wf = PcmFormat();
    *mt = dshow::TMediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM);
    (*mt)->bFixedSizeSamples = TRUE;
    (*mt)->lSampleSize = kAudioBytesPerFrame;
    return mt->SetFormat(FORMAT_WaveFormatEx, &wf, sizeof wf) ? S_OK : E_OUTOFMEMORY;
}

HRESULT TAudioGrabStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    if (!allocator || !request) return E_POINTER;
    request->cBuffers = std::max(request->cBuffers, kBufferCount);
    request->cbBuffer = std::max(request->cbBuffer, static_cast<LONG>(kAudioBufferBytes));
    if (request->cbAlign < 1) request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) return hr;
    return actual.cbBuffer >= static_cast<LONG>(kAudioBufferBytes) ? S_OK : E_FAIL;
}

HRESULT TAudioGrabStream::OnThreadStart() {
    bufferNo_ = 0;
    owner_->ResetBufferCount();
    return S_OK;
}

void TAudioGrabStream::OnThreadDestroy() { CloseSource(); }

void TAudioGrabStream::CloseSource() {
    source_.reset();
    owner_->SetSoundServerCapture(false);
}

bool TAudioGrabStream::WaitUntilDelivering() {
    if (owner_->Delivering()) return true;
    // A recording source would pile up sound while nothing goes out: it is opened again on resuming.
    CloseSource();
    while (!owner_->Delivering()) {
        if (StopRequested()) return false;
        WaitFor([this] { return owner_->Delivering(); }, kIdlePollMs);
    }
    return true;
}

void TAudioGrabStream::PaceGeneratedSound() {
    using namespace std::chrono;
    const auto period = duration_cast<steady_clock::duration>(milliseconds(kAudioBufferMs));
    const auto now = steady_clock::now();
    if (bufferNo_ == 0) firstBufferAt_ = now;
    auto due = firstBufferAt_ + period * bufferNo_;
    // After a pause or a stall start afresh instead of sending a burst.
    if (now - due > 2 * period) {
        firstBufferAt_ = now - period * bufferNo_;
        due = now;
    }
    if (due > now) WaitFor([] { return false; }, duration_cast<milliseconds>(due - now));
}

void TAudioGrabStream::ReadSound(int16_t* samples) {
    if (!source_) {
        source_ = owner_->OpenSource();
        owner_->SetSoundServerCapture(source_->Live());
    }
    if (!source_->Live()) PaceGeneratedSound();
    if (source_->Read(samples, kAudioFramesPerBuffer)) return;
    // The sound server went away: the stream goes on with the tone.
    dshow::Log("[AudioGrab] the sound server stopped delivering, sending a tone");
    source_ = std::make_unique<TToneAudioSource>();
    owner_->SetSoundServerCapture(false);
}

HRESULT TAudioGrabStream::FillBuffer(IMediaSample* sample) {
    BYTE* buffer = nullptr;
    HRESULT hr = sample->GetPointer(&buffer);
    if (FAILED(hr)) return hr;
    if (static_cast<size_t>(sample->GetSize()) < kAudioBufferBytes) return VFW_E_BUFFER_OVERFLOW;
    // Asked to stop while waiting: a silent buffer goes out, which the stopped downstream refuses.
    try {
        if (!WaitUntilDelivering())
            std::memset(buffer, 0, kAudioBufferBytes);
        else
            ReadSound(reinterpret_cast<int16_t*>(buffer));
    } catch (const std::exception&) {  // runs on the streaming thread: nothing may escape
        return E_OUTOFMEMORY;
    }
    REFERENCE_TIME start = bufferNo_ * kBufferDuration;
    REFERENCE_TIME stop = start + kBufferDuration;
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    sample->SetActualDataLength(static_cast<LONG>(kAudioBufferBytes));
    ++bufferNo_;
    owner_->CountBuffer();
    return S_OK;
}

}  // namespace platform
