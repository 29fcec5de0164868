// Base of output pins: agrees an allocator with the downstream input pin on connection, commits it
// while the filter is active and delivers samples, end of stream and flushes downstream.
#pragma once

#include "platform/dshow/base_pin.h"

namespace dshow {

class TBaseOutputPin : public TBasePin {
public:
    TBaseOutputPin(TBaseFilter* filter, std::string name);

    // Output pins receive nothing from upstream.
    HRESULT EndOfStream() override { return E_UNEXPECTED; }
    HRESULT BeginFlush() override { return E_UNEXPECTED; }
    HRESULT EndFlush() override { return E_UNEXPECTED; }

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    // Sets the buffer count and size on the allocator (with SetProperties), given the downstream pin's
    // wishes in `request`.
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;

    HRESULT GetDeliveryBuffer(IMediaSample** sample);
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();
    HRESULT DeliverBeginFlush();
    HRESULT DeliverEndFlush();

protected:
    HRESULT DecideAllocator(IMemInputPin* input);
    // An allocator of the pin's own to try before the downstream pin's (buffers that the pin's
    // producer can fill in place); none by default.
    virtual ComPtr<IMemAllocator> PreferredAllocator() { return {}; }

    ComPtr<IMemInputPin> inputPin_;
    ComPtr<IMemAllocator> allocator_;
};

}  // namespace dshow
