// Base of input pins: IMemInputPin with a default allocator, flushing, and the checks every Receive
// makes before a derived pin looks at the sample. The receive lock serialises Receive, EndOfStream
// and the flush calls that come from upstream.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/dshow/base_pin.h"

namespace dshow {

class TBaseInputPin : public TBasePin, public IMemInputPin {
public:
    TBaseInputPin(TBaseFilter* filter, std::string name);

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override { return TBasePin::AddRef(); }
    ULONG Release() override { return TBasePin::Release(); }

    // IMemInputPin
    HRESULT GetAllocator(IMemAllocator** ppAllocator) override;
    HRESULT NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
    HRESULT GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) override;
    // Checks connection, state and the sample's media type; derived pins call it first.
    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT ReceiveMultiple(IMediaSample** pSamples, LONG nSamples, LONG* nSamplesProcessed) override;
    HRESULT ReceiveCanBlock() override;

    // IPin calls that come from upstream.
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;

    HRESULT BreakConnect() override;
    HRESULT Inactive() override;

    bool IsFlushing() const { return flushing_.load(); }
    std::mutex& ReceiveLock() { return receiveLock_; }

protected:
    // S_OK while samples may flow, S_FALSE while flushing, an error otherwise.
    HRESULT CheckStreaming();

    ComPtr<IMemAllocator> allocator_;
    bool readOnly_ = false;

private:
    std::mutex receiveLock_;
    std::atomic<bool> flushing_{false};
};

}  // namespace dshow
