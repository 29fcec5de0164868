#include "platform/dshow/transform_filter.h"

namespace dshow {

// ---- TTransformInputPin ---------------------------------------------------------------------------

TTransformInputPin::TTransformInputPin(TTransformFilter* filter, std::string name)
    : TBaseInputPin(filter, std::move(name)), transform_(filter) {}

HRESULT TTransformInputPin::Receive(IMediaSample* pSample) {
    std::lock_guard lock(ReceiveLock());
    const HRESULT hr = TBaseInputPin::Receive(pSample);
    if (hr != S_OK) return hr;
    return transform_->Receive(pSample);
}

HRESULT TTransformInputPin::EndOfStream() {
    std::lock_guard lock(ReceiveLock());
    const HRESULT hr = TBaseInputPin::EndOfStream();
    if (hr != S_OK) return hr;
    return transform_->EndOfStream();
}

HRESULT TTransformInputPin::BeginFlush() {
    TBaseInputPin::BeginFlush();
    return transform_->BeginFlush();
}

HRESULT TTransformInputPin::EndFlush() {
    std::lock_guard lock(ReceiveLock());
    transform_->EndFlush();
    return TBaseInputPin::EndFlush();
}

HRESULT TTransformInputPin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
    TBasePin::NewSegment(tStart, tStop, dRate);
    return transform_->NewSegment(tStart, tStop, dRate);
}

HRESULT TTransformInputPin::CheckMediaType(const AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    return transform_->CheckInputType(pmt);
}

HRESULT TTransformInputPin::SetMediaType(const AM_MEDIA_TYPE* pmt) {
    const HRESULT hr = TBaseInputPin::SetMediaType(pmt);
    if (FAILED(hr)) return hr;
    return transform_->SetMediaType(PINDIR_INPUT, pmt);
}

HRESULT TTransformInputPin::BreakConnect() {
    transform_->BreakConnect(PINDIR_INPUT);
    return TBaseInputPin::BreakConnect();
}

// ---- TTransformOutputPin --------------------------------------------------------------------------

TTransformOutputPin::TTransformOutputPin(TTransformFilter* filter, std::string name)
    : TBaseOutputPin(filter, std::move(name)), transform_(filter) {}

HRESULT TTransformOutputPin::CheckConnect(IPin* pin) {
    if (!transform_->InputPin()->IsConnected()) return VFW_E_NOT_CONNECTED;
    return TBaseOutputPin::CheckConnect(pin);
}

HRESULT TTransformOutputPin::CheckMediaType(const AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    TTransformInputPin* in = transform_->InputPin();
    if (!in->IsConnected()) return VFW_E_NOT_CONNECTED;
    return transform_->CheckTransform(in->CurrentType().get(), pmt);
}

HRESULT TTransformOutputPin::GetMediaType(int position, TMediaType* mt) {
    if (!transform_->InputPin()->IsConnected()) return VFW_S_NO_MORE_ITEMS;
    return transform_->GetMediaType(position, mt);
}

HRESULT TTransformOutputPin::SetMediaType(const AM_MEDIA_TYPE* pmt) {
    const HRESULT hr = TBaseOutputPin::SetMediaType(pmt);
    if (FAILED(hr)) return hr;
    return transform_->SetMediaType(PINDIR_OUTPUT, pmt);
}

HRESULT TTransformOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    return transform_->DecideBufferSize(allocator, request);
}

HRESULT TTransformOutputPin::BreakConnect() {
    transform_->BreakConnect(PINDIR_OUTPUT);
    return TBaseOutputPin::BreakConnect();
}

// ---- TTransformFilter -----------------------------------------------------------------------------

TTransformFilter::TTransformFilter(std::string name, const CLSID& clsid) : TBaseFilter(std::move(name), clsid) {}

TTransformFilter::~TTransformFilter() = default;

void TTransformFilter::MakePins() {
    std::lock_guard lock(filterLock_);
    if (!input_) input_ = std::make_unique<TTransformInputPin>(this, "XForm In");
    if (!output_) output_ = std::make_unique<TTransformOutputPin>(this, "XForm Out");
}

TBasePin* TTransformFilter::GetPin(int n) {
    MakePins();
    if (n == 0) return input_.get();
    if (n == 1) return output_.get();
    return nullptr;
}

TTransformInputPin* TTransformFilter::InputPin() {
    MakePins();
    return input_.get();
}

TTransformOutputPin* TTransformFilter::OutputPin() {
    MakePins();
    return output_.get();
}

HRESULT TTransformFilter::Stop() {
    std::lock_guard lock(filterLock_);
    const bool wasActive = State() != State_Stopped;
    const HRESULT hr = TBaseFilter::Stop();
    if (wasActive) StopStreaming();
    return hr;
}

HRESULT TTransformFilter::Pause() {
    std::lock_guard lock(filterLock_);
    if (State() == State_Stopped && InputPin()->IsConnected() && OutputPin()->IsConnected()) {
        const HRESULT hr = StartStreaming();
        if (FAILED(hr)) return hr;
    }
    return TBaseFilter::Pause();
}

HRESULT TTransformFilter::SetMediaType(PIN_DIRECTION, const AM_MEDIA_TYPE*) { return S_OK; }
HRESULT TTransformFilter::BreakConnect(PIN_DIRECTION) { return S_OK; }

HRESULT TTransformFilter::Receive(IMediaSample* pSample) {
    TTransformOutputPin* out = OutputPin();
    if (!out->IsConnected()) return VFW_E_NOT_CONNECTED;
    ComPtr<IMediaSample> outSample;
    HRESULT hr = out->GetDeliveryBuffer(outSample.Put());
    if (FAILED(hr)) return hr;

    REFERENCE_TIME start = 0, stop = 0;
    const HRESULT times = pSample->GetTime(&start, &stop);
    if (times == S_OK) outSample->SetTime(&start, &stop);
    else if (times == VFW_S_NO_STOP_TIME) outSample->SetTime(&start, nullptr);
    outSample->SetSyncPoint(pSample->IsSyncPoint() == S_OK);
    outSample->SetDiscontinuity(pSample->IsDiscontinuity() == S_OK);
    outSample->SetPreroll(pSample->IsPreroll() == S_OK);

    hr = Transform(pSample, outSample.Get());
    if (hr == S_FALSE) return S_OK;
    if (FAILED(hr)) return hr;
    return out->Deliver(outSample.Get());
}

HRESULT TTransformFilter::EndOfStream() { return OutputPin()->DeliverEndOfStream(); }
HRESULT TTransformFilter::BeginFlush() { return OutputPin()->DeliverBeginFlush(); }
HRESULT TTransformFilter::EndFlush() { return OutputPin()->DeliverEndFlush(); }

HRESULT TTransformFilter::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
    TTransformOutputPin* out = OutputPin();
    IPin* peer = nullptr;
    if (out->ConnectedTo(&peer) != S_OK) return S_OK;
    const HRESULT hr = peer->NewSegment(tStart, tStop, dRate);
    peer->Release();
    return hr;
}

}  // namespace dshow
