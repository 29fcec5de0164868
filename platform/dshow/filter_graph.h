// The filter graph manager: holds the filters by name, connects their pins, drives the state of all of
// them (renderers first, so a streaming thread blocked downstream is released before its source is
// stopped), gives them the system clock and collects their events. State changes are synchronous.
// Released, the graph stops, disconnects every pin and lets go of its filters.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/dshow/dshow.h"
#include "platform/dshow/unknown.h"

namespace dshow {

class TFilterGraph final : public IGraphBuilder,
                           public IMediaControl,
                           public IMediaEvent,
                           public IMediaEventSink,
                           public TUnknown {
public:
    TFilterGraph();

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IFilterGraph
    HRESULT AddFilter(IBaseFilter* pFilter, const char* pName) override;
    HRESULT RemoveFilter(IBaseFilter* pFilter) override;
    HRESULT EnumFilters(IEnumFilters** ppEnum) override;
    HRESULT FindFilterByName(const char* pName, IBaseFilter** ppFilter) override;
    HRESULT ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) override;
    HRESULT Disconnect(IPin* ppin) override;
    HRESULT SetDefaultSyncSource() override;
    // IGraphBuilder
    HRESULT Connect(IPin* ppinOut, IPin* ppinIn) override;
    // IMediaControl
    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT GetState(LONG msTimeout, OAFilterState* pfs) override;
    HRESULT StopWhenReady() override;
    // IMediaEvent
    HRESULT GetEvent(LONG* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, LONG msTimeout) override;
    HRESULT WaitForCompletion(LONG msTimeout, LONG* pEvCode) override;
    HRESULT FreeEventParams(LONG lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) override;
    // IMediaEventSink
    HRESULT Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;

    static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv);

private:
    struct TEntry {
        ComPtr<IBaseFilter> filter;
        std::string name;
    };
    struct TEvent {
        LONG code;
        LONG_PTR param1, param2;
    };

    ~TFilterGraph() override;

    bool Contains(IBaseFilter* filter) const;
    // Whether the pin's filter is one of ours.
    bool OwnsPin(IPin* pin) const;
    std::string UniqueName(const char* requested) const;
    // Renderers first, every filter before the filters upstream of it.
    std::vector<IBaseFilter*> DownstreamFirst() const;
    void DisconnectAll(IBaseFilter* filter);
    HRESULT PauseLocked();
    HRESULT StopLocked();
    void PostEvent(const TEvent& e);

    mutable std::recursive_mutex lock_;
    std::vector<TEntry> filters_;
    ComPtr<IReferenceClock> clock_;
    FILTER_STATE state_ = State_Stopped;

    std::mutex eventMutex_;
    std::condition_variable eventCv_;
    std::deque<TEvent> events_;
    size_t renderersRunning_ = 0;
    size_t renderersComplete_ = 0;
};

}  // namespace dshow
