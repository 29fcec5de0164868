#include "platform/dshow/base_output_pin.h"

#include "platform/dshow/base_filter.h"
#include "platform/dshow/mem_allocator.h"

namespace dshow {

TBaseOutputPin::TBaseOutputPin(TBaseFilter* filter, std::string name)
    : TBasePin(filter, std::move(name), PINDIR_OUTPUT) {}

HRESULT TBaseOutputPin::CheckConnect(IPin* pin) {
    const HRESULT hr = TBasePin::CheckConnect(pin);
    if (FAILED(hr)) return hr;
    inputPin_.Reset();
    return FAILED(pin->QueryInterface(IID_IMemInputPin, inputPin_.PutVoid())) ? VFW_E_NO_TRANSPORT : S_OK;
}

HRESULT TBaseOutputPin::BreakConnect() {
    if (allocator_) allocator_->Decommit();
    allocator_.Reset();
    inputPin_.Reset();
    return S_OK;
}

HRESULT TBaseOutputPin::CompleteConnect(IPin*) { return DecideAllocator(inputPin_.Get()); }

HRESULT TBaseOutputPin::DecideAllocator(IMemInputPin* input) {
    if (!input) return VFW_E_NOT_CONNECTED;
    ALLOCATOR_PROPERTIES wish{0, 0, 0, 0};
    input->GetAllocatorRequirements(&wish);
    if (wish.cbAlign == 0) wish.cbAlign = 1;

    // The pin's preferred allocator, then the downstream pin's, then a plain one of our own.
    for (int round = 0; round < 3; ++round) {
        ComPtr<IMemAllocator> candidate;
        if (round == 0) {
            candidate = PreferredAllocator();
            if (!candidate) continue;
        } else if (round == 1) {
            if (FAILED(input->GetAllocator(candidate.Put())) || !candidate) continue;
        } else {
            candidate = TMemAllocator::Create();
            if (!candidate) return E_OUTOFMEMORY;
        }
        ALLOCATOR_PROPERTIES request = wish;
        if (FAILED(DecideBufferSize(candidate.Get(), &request))) continue;
        if (FAILED(input->NotifyAllocator(candidate.Get(), FALSE))) continue;
        allocator_ = candidate;
        return S_OK;
    }
    return VFW_E_NO_ALLOCATOR;
}

HRESULT TBaseOutputPin::Active() {
    if (!allocator_) return VFW_E_NO_ALLOCATOR;
    return allocator_->Commit();
}

HRESULT TBaseOutputPin::Inactive() {
    if (!allocator_) return VFW_E_NO_ALLOCATOR;
    return allocator_->Decommit();
}

HRESULT TBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample) {
    if (!sample) return E_POINTER;
    *sample = nullptr;
    if (!allocator_) return VFW_E_NO_ALLOCATOR;
    return allocator_->GetBuffer(sample, nullptr, nullptr, 0);
}

HRESULT TBaseOutputPin::Deliver(IMediaSample* sample) {
    if (!inputPin_) return VFW_E_NOT_CONNECTED;
    return inputPin_->Receive(sample);
}

HRESULT TBaseOutputPin::DeliverEndOfStream() {
    if (!connected_) return VFW_E_NOT_CONNECTED;
    return connected_->EndOfStream();
}

HRESULT TBaseOutputPin::DeliverBeginFlush() {
    if (!connected_) return VFW_E_NOT_CONNECTED;
    return connected_->BeginFlush();
}

HRESULT TBaseOutputPin::DeliverEndFlush() {
    if (!connected_) return VFW_E_NOT_CONNECTED;
    return connected_->EndFlush();
}

}  // namespace dshow
