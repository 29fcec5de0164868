// Base of every filter: reference counting, the filter lock, the state machine Stopped / Paused /
// Running driven through the filter's pins, the reference clock and the graph the filter joined.
// Derived filters own their pins and answer GetPinCount / GetPin.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "platform/dshow/dshow.h"
#include "platform/dshow/unknown.h"

namespace dshow {

class TBasePin;

class TBaseFilter : public IBaseFilter, public TUnknown {
public:
    TBaseFilter(std::string name, const CLSID& clsid);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPersist
    HRESULT GetClassID(CLSID* pClassID) override;
    // IMediaFilter
    HRESULT Stop() override;
    HRESULT Pause() override;
    HRESULT Run(REFERENCE_TIME tStart) override;
    HRESULT GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* state) override;
    HRESULT SetSyncSource(IReferenceClock* pClock) override;
    HRESULT GetSyncSource(IReferenceClock** pClock) override;
    // IBaseFilter
    HRESULT EnumPins(IEnumPins** ppEnum) override;
    HRESULT FindPin(const char* Id, IPin** ppPin) override;
    HRESULT QueryFilterInfo(FILTER_INFO* pInfo) override;
    HRESULT JoinFilterGraph(IFilterGraph* pGraph, const char* pName) override;
    HRESULT QueryVendorInfo(char** pVendorInfo) override;

    virtual int GetPinCount() = 0;
    // The pin at index n, or null; the filter keeps ownership.
    virtual TBasePin* GetPin(int n) = 0;

    FILTER_STATE State() const { return state_.load(); }
    std::recursive_mutex& FilterLock() { return filterLock_; }
    // Reports an event to the graph; E_NOTIMPL when the filter is in no graph.
    HRESULT NotifyEvent(LONG code, LONG_PTR param1, LONG_PTR param2);
    // The name given at JoinFilterGraph (or at construction).
    std::string Name();

protected:
    ~TBaseFilter() override = default;
    void SetState(FILTER_STATE s) { state_.store(s); }

    std::recursive_mutex filterLock_;
    REFERENCE_TIME streamStart_ = 0;
    ComPtr<IReferenceClock> clock_;

private:
    std::atomic<FILTER_STATE> state_{State_Stopped};
    std::string name_;
    CLSID clsid_;
    // Name and graph have a lock of their own: streaming threads read them while a state change holds
    // the filter lock and waits for those threads.
    std::mutex infoMutex_;
    IFilterGraph* graph_ = nullptr;                   // not AddRef'd: the graph owns the filter
    std::atomic<IMediaEventSink*> eventSink_{nullptr};  // the graph's, not AddRef'd either
};

}  // namespace dshow
