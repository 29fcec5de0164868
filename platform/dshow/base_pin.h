// Base of every pin: connection and media-type negotiation. A pin's reference count is its filter's;
// the filter owns the pin. Connected pins hold a reference to each other until they are disconnected
// (the graph disconnects everything when it goes).
#pragma once

#include <string>

#include "platform/dshow/dshow.h"
#include "platform/dshow/media_type.h"

namespace dshow {

class TBaseFilter;

class TBasePin : public IPin {
public:
    TBasePin(TBaseFilter* filter, std::string name, PIN_DIRECTION direction);
    virtual ~TBasePin();
    TBasePin(const TBasePin&) = delete;
    TBasePin& operator=(const TBasePin&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) override;
    HRESULT ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) override;
    HRESULT Disconnect() override;
    HRESULT ConnectedTo(IPin** pPin) override;
    HRESULT ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
    HRESULT QueryPinInfo(PIN_INFO* pInfo) override;
    HRESULT QueryDirection(PIN_DIRECTION* pPinDir) override;
    HRESULT QueryId(char** Id) override;
    HRESULT QueryAccept(const AM_MEDIA_TYPE* pmt) override;
    HRESULT EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
    HRESULT QueryInternalConnections(IPin** apPin, ULONG* nPin) override;
    HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

    // Overridables of a pin.
    virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) = 0;
    // The types the pin proposes, from position 0; VFW_S_NO_MORE_ITEMS past the last.
    virtual HRESULT GetMediaType(int position, TMediaType* mt);
    virtual HRESULT SetMediaType(const AM_MEDIA_TYPE* pmt);
    virtual HRESULT CheckConnect(IPin* pin);
    virtual HRESULT BreakConnect();
    virtual HRESULT CompleteConnect(IPin* receivePin);
    // Called by the filter on leaving Stopped, on Stop and on Run (connected pins only).
    virtual HRESULT Active();
    virtual HRESULT Inactive();
    virtual HRESULT Run(REFERENCE_TIME tStart);

    bool IsConnected();
    const std::string& Name() const { return name_; }
    PIN_DIRECTION Direction() const { return direction_; }
    TBaseFilter* Filter() const { return filter_; }
    bool IsStopped() const;

protected:
    // Tries one type: checks, sets, asks the receiver, completes; undoes everything on failure.
    HRESULT AttemptConnection(IPin* receivePin, const AM_MEDIA_TYPE* pmt);
    // Tries the receiver's proposals, then this pin's, each filtered by the partial type.
    HRESULT TryMediaTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial, IEnumMediaTypes* types);
    HRESULT AgreeMediaType(IPin* receivePin, const AM_MEDIA_TYPE* pmt);
    // Drops the connection without telling the peer.
    void ClearConnection();

    TBaseFilter* filter_;
    ComPtr<IPin> connected_;
    TMediaType mt_;
    REFERENCE_TIME segmentStart_ = 0, segmentStop_ = 0;
    double segmentRate_ = 1.0;

private:
    std::string name_;
    PIN_DIRECTION direction_;
};

}  // namespace dshow
