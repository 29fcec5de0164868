#include "platform/dshow/base_renderer.h"

#include <chrono>

namespace dshow {

// ---- TRendererInputPin ---------------------------------------------------------------------------

TRendererInputPin::TRendererInputPin(TBaseRenderer* renderer, std::string name)
    : TBaseInputPin(renderer, std::move(name)), renderer_(renderer) {}

HRESULT TRendererInputPin::Receive(IMediaSample* pSample) {
    std::lock_guard lock(ReceiveLock());
    const HRESULT hr = TBaseInputPin::Receive(pSample);
    if (hr != S_OK) return hr;
    return renderer_->Receive(pSample);
}

HRESULT TRendererInputPin::EndOfStream() {
    std::lock_guard lock(ReceiveLock());
    const HRESULT hr = TBaseInputPin::EndOfStream();
    if (hr != S_OK) return hr;
    return renderer_->EndOfStream();
}

HRESULT TRendererInputPin::BeginFlush() {
    // No receive lock here: the flush must release a Receive that waits.
    TBaseInputPin::BeginFlush();
    return renderer_->BeginFlush();
}

HRESULT TRendererInputPin::EndFlush() {
    std::lock_guard lock(ReceiveLock());
    renderer_->EndFlush();
    return TBaseInputPin::EndFlush();
}

HRESULT TRendererInputPin::CheckMediaType(const AM_MEDIA_TYPE* pmt) { return renderer_->CheckMediaType(pmt); }

HRESULT TRendererInputPin::SetMediaType(const AM_MEDIA_TYPE* pmt) {
    const HRESULT hr = TBaseInputPin::SetMediaType(pmt);
    if (FAILED(hr)) return hr;
    return renderer_->SetMediaType(pmt);
}

HRESULT TRendererInputPin::CompleteConnect(IPin* receivePin) {
    const HRESULT hr = TBaseInputPin::CompleteConnect(receivePin);
    if (FAILED(hr)) return hr;
    return renderer_->CompleteConnect(receivePin);
}

HRESULT TRendererInputPin::BreakConnect() {
    renderer_->BreakConnect();
    return TBaseInputPin::BreakConnect();
}

// ---- TBaseRenderer --------------------------------------------------------------------------------

TBaseRenderer::TBaseRenderer(const CLSID& clsid, std::string name) : TBaseFilter(std::move(name), clsid) {}

TBaseRenderer::~TBaseRenderer() = default;

TBasePin* TBaseRenderer::GetPin(int n) {
    std::lock_guard lock(filterLock_);
    if (n != 0) return nullptr;
    if (!inputPin_) inputPin_ = std::make_unique<TRendererInputPin>(this, "In");
    return inputPin_.get();
}

HRESULT TBaseRenderer::SetMediaType(const AM_MEDIA_TYPE*) { return S_OK; }
HRESULT TBaseRenderer::Active() { return S_OK; }
HRESULT TBaseRenderer::Inactive() { return S_OK; }
HRESULT TBaseRenderer::CompleteConnect(IPin*) { return S_OK; }
HRESULT TBaseRenderer::BreakConnect() { return S_OK; }

HRESULT TBaseRenderer::Stop() {
    std::lock_guard lock(filterLock_);
    if (State() == State_Stopped) return S_OK;
    {
        std::lock_guard wait(waitMutex_);
        SetState(State_Stopped);
        endOfStreamPending_ = false;
        runClock_.Reset();
    }
    waitCv_.notify_all();
    TBasePin* pin = GetPin(0);
    if (pin && pin->IsConnected()) pin->Inactive();
    HRESULT hr = S_OK;
    if (active_) {
        active_ = false;
        hr = Inactive();
    }
    return hr;
}

HRESULT TBaseRenderer::Pause() {
    std::lock_guard lock(filterLock_);
    if (State() == State_Stopped) {
        TBasePin* pin = GetPin(0);
        if (pin && pin->IsConnected()) {
            HRESULT hr = pin->Active();
            if (FAILED(hr)) return hr;
            hr = Active();
            if (FAILED(hr)) return hr;
            active_ = true;
        }
    }
    {
        std::lock_guard wait(waitMutex_);
        SetState(State_Paused);
    }
    waitCv_.notify_all();
    return S_OK;
}

HRESULT TBaseRenderer::Run(REFERENCE_TIME tStart) {
    std::lock_guard lock(filterLock_);
    if (State() == State_Stopped) {
        const HRESULT hr = Pause();
        if (FAILED(hr)) return hr;
    }
    bool notifyComplete = false;
    {
        std::lock_guard wait(waitMutex_);
        streamStart_ = tStart;
        runStart_ = tStart;
        runClock_ = clock_;
        SetState(State_Running);
        notifyComplete = std::exchange(endOfStreamPending_, false);
    }
    waitCv_.notify_all();
    if (notifyComplete) NotifyEvent(EC_COMPLETE, S_OK, 0);
    return S_OK;
}

HRESULT TBaseRenderer::WaitForRenderTime(bool timed, REFERENCE_TIME sampleStart) {
    std::unique_lock lock(waitMutex_);
    for (;;) {
        const FILTER_STATE state = State();
        if (state == State_Stopped) return VFW_E_WRONG_STATE;
        if (flushing_) return S_FALSE;
        if (state == State_Paused) {
            waitCv_.wait(lock);
            continue;
        }
        if (!timed || !runClock_) return S_OK;
        REFERENCE_TIME now = 0;
        if (FAILED(runClock_->GetTime(&now))) return S_OK;
        const REFERENCE_TIME due = runStart_ + sampleStart;
        if (now >= due) return S_OK;
        waitCv_.wait_for(lock, std::chrono::microseconds((due - now) / 10 + 1));
    }
}

HRESULT TBaseRenderer::Receive(IMediaSample* pSample) {
    REFERENCE_TIME start = 0, stop = 0;
    const HRESULT times = pSample->GetTime(&start, &stop);
    if (times == S_OK && stop < start) return VFW_E_START_TIME_AFTER_END;
    const HRESULT hr = WaitForRenderTime(SUCCEEDED(times), start);
    if (hr != S_OK) return hr;
    return DoRenderSample(pSample);
}

HRESULT TBaseRenderer::EndOfStream() {
    {
        std::lock_guard wait(waitMutex_);
        if (State() == State_Paused) {
            endOfStreamPending_ = true;
            return S_OK;
        }
        if (State() != State_Running) return S_OK;
    }
    NotifyEvent(EC_COMPLETE, S_OK, 0);
    return S_OK;
}

HRESULT TBaseRenderer::BeginFlush() {
    {
        std::lock_guard wait(waitMutex_);
        flushing_ = true;
        endOfStreamPending_ = false;
    }
    waitCv_.notify_all();
    return S_OK;
}

HRESULT TBaseRenderer::EndFlush() {
    std::lock_guard wait(waitMutex_);
    flushing_ = false;
    return S_OK;
}

}  // namespace dshow
