#include "platform/dshow/base_input_pin.h"

#include "platform/dshow/base_filter.h"
#include "platform/dshow/mem_allocator.h"

namespace dshow {

TBaseInputPin::TBaseInputPin(TBaseFilter* filter, std::string name) : TBasePin(filter, std::move(name), PINDIR_INPUT) {}

HRESULT TBaseInputPin::QueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IMemInputPin) return GetInterface(static_cast<IMemInputPin*>(this), ppv);
    return TBasePin::QueryInterface(riid, ppv);
}

HRESULT TBaseInputPin::GetAllocator(IMemAllocator** ppAllocator) {
    if (!ppAllocator) return E_POINTER;
    std::lock_guard lock(filter_->FilterLock());
    if (!allocator_) allocator_ = TMemAllocator::Create();
    if (!allocator_) return E_OUTOFMEMORY;
    *ppAllocator = allocator_.Get();
    (*ppAllocator)->AddRef();
    return S_OK;
}

HRESULT TBaseInputPin::NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) {
    if (!pAllocator) return E_POINTER;
    std::lock_guard lock(filter_->FilterLock());
    allocator_ = ComPtr<IMemAllocator>(pAllocator);
    readOnly_ = bReadOnly != 0;
    return S_OK;
}

HRESULT TBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT TBaseInputPin::CheckStreaming() {
    if (!IsConnected()) return VFW_E_NOT_CONNECTED;
    if (IsFlushing()) return S_FALSE;
    if (IsStopped()) return VFW_E_WRONG_STATE;
    return S_OK;
}

HRESULT TBaseInputPin::Receive(IMediaSample* pSample) {
    if (!pSample) return E_POINTER;
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK) return hr;
    AM_MEDIA_TYPE* changed = nullptr;
    if (pSample->GetMediaType(&changed) == S_OK && changed) {
        const HRESULT accepted = CheckMediaType(changed);
        if (accepted == S_OK) SetMediaType(changed);
        DeleteMediaType(changed);
        if (accepted != S_OK) return VFW_E_INVALIDMEDIATYPE;
    }
    return S_OK;
}

HRESULT TBaseInputPin::ReceiveMultiple(IMediaSample** pSamples, LONG nSamples, LONG* nSamplesProcessed) {
    if (!pSamples || !nSamplesProcessed) return E_POINTER;
    *nSamplesProcessed = 0;
    HRESULT hr = S_OK;
    for (LONG i = 0; i < nSamples; ++i) {
        hr = Receive(pSamples[i]);
        if (hr != S_OK) break;
        ++*nSamplesProcessed;
    }
    return hr;
}

HRESULT TBaseInputPin::ReceiveCanBlock() { return S_OK; }

HRESULT TBaseInputPin::EndOfStream() { return CheckStreaming(); }

HRESULT TBaseInputPin::BeginFlush() {
    flushing_ = true;
    return S_OK;
}

HRESULT TBaseInputPin::EndFlush() {
    flushing_ = false;
    return S_OK;
}

HRESULT TBaseInputPin::BreakConnect() {
    if (allocator_) allocator_->Decommit();
    allocator_.Reset();
    return S_OK;
}

HRESULT TBaseInputPin::Inactive() {
    flushing_ = false;
    if (allocator_) allocator_->Decommit();
    return S_OK;
}

}  // namespace dshow
