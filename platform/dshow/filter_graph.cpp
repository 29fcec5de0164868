#include "platform/dshow/filter_graph.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <new>

#include "platform/dshow/enumerators.h"
#include "platform/dshow/system_clock.h"

namespace dshow {
namespace {

// The running start lies a little ahead so that every filter has its Run before the first sample is due.
constexpr REFERENCE_TIME kRunStartOffset = 10 * kUnitsPerMillisecond;
constexpr int kMaxDuplicateNames = 9999;

ComPtr<IBaseFilter> FilterOfPin(IPin* pin) {
    PIN_INFO info{};
    if (FAILED(pin->QueryPinInfo(&info)) || !info.pFilter) return {};
    return ComPtr<IBaseFilter>::Attach(info.pFilter);
}

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter) {
    std::vector<ComPtr<IPin>> pins;
    ComPtr<IEnumPins> e;
    if (FAILED(filter->EnumPins(e.Put())) || !e) return pins;
    for (;;) {
        IPin* pin = nullptr;
        ULONG fetched = 0;
        if (e->Next(1, &pin, &fetched) != S_OK || fetched != 1) break;
        pins.push_back(ComPtr<IPin>::Attach(pin));
    }
    return pins;
}

PIN_DIRECTION DirectionOf(IPin* pin) {
    PIN_DIRECTION d = PINDIR_INPUT;
    pin->QueryDirection(&d);
    return d;
}

ComPtr<IPin> PeerOf(IPin* pin) {
    IPin* peer = nullptr;
    if (pin->ConnectedTo(&peer) != S_OK) return {};
    return ComPtr<IPin>::Attach(peer);
}

bool IsCompletionCode(LONG code) { return code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT; }

}  // namespace

TFilterGraph::TFilterGraph() : clock_(TSystemClock::Create()) {}

TFilterGraph::~TFilterGraph() {
    std::lock_guard lock(lock_);
    StopLocked();
    for (const TEntry& e : filters_) DisconnectAll(e.filter.Get());
    for (const TEntry& e : filters_) e.filter->JoinFilterGraph(nullptr, nullptr);
    filters_.clear();
}

HRESULT TFilterGraph::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    return CreateMadeObject(outer, riid, ppv, [] { return new TFilterGraph; });
}

HRESULT TFilterGraph::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_IGraphBuilder || riid == IID_IFilterGraph)
        return GetInterface(static_cast<IGraphBuilder*>(this), ppv);
    if (riid == IID_IMediaControl) return GetInterface(static_cast<IMediaControl*>(this), ppv);
    if (riid == IID_IMediaEvent) return GetInterface(static_cast<IMediaEvent*>(this), ppv);
    if (riid == IID_IMediaEventSink) return GetInterface(static_cast<IMediaEventSink*>(this), ppv);
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
}

bool TFilterGraph::Contains(IBaseFilter* filter) const {
    return std::any_of(filters_.begin(), filters_.end(), [filter](const TEntry& e) { return e.filter.Get() == filter; });
}

bool TFilterGraph::OwnsPin(IPin* pin) const {
    ComPtr<IBaseFilter> f = FilterOfPin(pin);
    return f && Contains(f.Get());
}

std::string TFilterGraph::UniqueName(const char* requested) const {
    const std::string base = requested && *requested ? requested : "Filter";
    auto taken = [this](const std::string& n) {
        return std::any_of(filters_.begin(), filters_.end(), [&n](const TEntry& e) { return e.name == n; });
    };
    if (!taken(base)) return base;
    for (int i = 1; i <= kMaxDuplicateNames; ++i) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, " %04d", i);
        if (!taken(base + suffix)) return base + suffix;
    }
    return {};
}

HRESULT TFilterGraph::AddFilter(IBaseFilter* pFilter, const char* pName) {
    if (!pFilter) return E_POINTER;
    std::lock_guard lock(lock_);
    if (Contains(pFilter)) return E_INVALIDARG;
    const std::string name = UniqueName(pName);
    if (name.empty()) return VFW_E_DUPLICATE_NAME;
    const HRESULT hr = pFilter->JoinFilterGraph(this, name.c_str());
    if (FAILED(hr)) return hr;
    if (clock_) pFilter->SetSyncSource(clock_.Get());
    filters_.push_back({ComPtr<IBaseFilter>(pFilter), name});
    const bool renamed = pName && name != pName;
    return renamed ? VFW_S_DUPLICATE_NAME : S_OK;
}

void TFilterGraph::DisconnectAll(IBaseFilter* filter) {
    for (const ComPtr<IPin>& pin : PinsOf(filter)) {
        if (ComPtr<IPin> peer = PeerOf(pin.Get())) peer->Disconnect();
        pin->Disconnect();
    }
}

HRESULT TFilterGraph::RemoveFilter(IBaseFilter* pFilter) {
    if (!pFilter) return E_POINTER;
    std::lock_guard lock(lock_);
    auto it = std::find_if(filters_.begin(), filters_.end(), [pFilter](const TEntry& e) { return e.filter.Get() == pFilter; });
    if (it == filters_.end()) return VFW_E_NOT_FOUND;
    if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    ComPtr<IBaseFilter> keep = it->filter;
    filters_.erase(it);
    DisconnectAll(keep.Get());
    keep->SetSyncSource(nullptr);
    keep->JoinFilterGraph(nullptr, nullptr);
    return S_OK;
}

HRESULT TFilterGraph::EnumFilters(IEnumFilters** ppEnum) {
    if (!ppEnum) return E_POINTER;
    std::vector<ComPtr<IBaseFilter>> list;
    {
        std::lock_guard lock(lock_);
        for (const TEntry& e : filters_) list.push_back(e.filter);
    }
    return QueryNewObject(new (std::nothrow) TEnumFilters(std::move(list)), IEnumFilters::iid,
                          reinterpret_cast<void**>(ppEnum));
}

HRESULT TFilterGraph::FindFilterByName(const char* pName, IBaseFilter** ppFilter) {
    if (!pName || !ppFilter) return E_POINTER;
    *ppFilter = nullptr;
    std::lock_guard lock(lock_);
    for (const TEntry& e : filters_) {
        if (e.name == pName) return GetInterface(e.filter.Get(), reinterpret_cast<void**>(ppFilter));
    }
    return VFW_E_NOT_FOUND;
}

HRESULT TFilterGraph::ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) {
    if (!ppinOut || !ppinIn) return E_POINTER;
    std::lock_guard lock(lock_);
    if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!OwnsPin(ppinOut) || !OwnsPin(ppinIn)) return VFW_E_NOT_IN_GRAPH;
    if (DirectionOf(ppinOut) != PINDIR_OUTPUT || DirectionOf(ppinIn) != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;
    return ppinOut->Connect(ppinIn, pmt);
}

HRESULT TFilterGraph::Connect(IPin* ppinOut, IPin* ppinIn) {
    // No intermediate filters are inserted: the pins agree on one of the types they offer, or not at all.
    return ConnectDirect(ppinOut, ppinIn, nullptr);
}

HRESULT TFilterGraph::Disconnect(IPin* ppin) {
    if (!ppin) return E_POINTER;
    std::lock_guard lock(lock_);
    if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    return ppin->Disconnect();
}

HRESULT TFilterGraph::SetDefaultSyncSource() {
    std::lock_guard lock(lock_);
    if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    clock_ = TSystemClock::Create();
    for (const TEntry& e : filters_) e.filter->SetSyncSource(clock_.Get());
    return S_OK;
}

std::vector<IBaseFilter*> TFilterGraph::DownstreamFirst() const {
    struct TNode {
        IBaseFilter* filter;
        std::vector<IBaseFilter*> downstream;
        bool placed = false;
    };
    std::vector<TNode> nodes;
    for (const TEntry& e : filters_) {
        TNode n{e.filter.Get(), {}};
        for (const ComPtr<IPin>& pin : PinsOf(e.filter.Get())) {
            if (DirectionOf(pin.Get()) != PINDIR_OUTPUT) continue;
            if (ComPtr<IPin> peer = PeerOf(pin.Get()))
                if (ComPtr<IBaseFilter> f = FilterOfPin(peer.Get())) n.downstream.push_back(f.Get());
        }
        nodes.push_back(std::move(n));
    }
    std::vector<IBaseFilter*> order;
    auto placed = [&order](IBaseFilter* f) { return std::find(order.begin(), order.end(), f) != order.end(); };
    bool progress = true;
    while (order.size() < nodes.size() && progress) {
        progress = false;
        for (TNode& n : nodes) {
            if (n.placed) continue;
            const bool ready = std::all_of(n.downstream.begin(), n.downstream.end(),
                                           [&](IBaseFilter* d) { return placed(d) || !Contains(d); });
            if (ready) {
                order.push_back(n.filter);
                n.placed = true;
                progress = true;
            }
        }
    }
    for (TNode& n : nodes)  // a cycle: the rest in the order they came
        if (!n.placed) order.push_back(n.filter);
    return order;
}

HRESULT TFilterGraph::PauseLocked() {
    if (state_ == State_Paused) return S_OK;
    if (state_ == State_Stopped) {
        std::lock_guard ev(eventMutex_);
        renderersRunning_ = 0;
        renderersComplete_ = 0;
        for (const TEntry& e : filters_) {
            bool feedsOthers = false;
            for (const ComPtr<IPin>& pin : PinsOf(e.filter.Get()))
                if (DirectionOf(pin.Get()) == PINDIR_OUTPUT && PeerOf(pin.Get())) feedsOthers = true;
            if (!feedsOthers) ++renderersRunning_;
        }
    }
    for (IBaseFilter* f : DownstreamFirst()) {
        const HRESULT hr = f->Pause();
        if (FAILED(hr)) {
            StopLocked();
            return hr;
        }
    }
    state_ = State_Paused;
    return S_OK;
}

HRESULT TFilterGraph::StopLocked() {
    HRESULT result = S_OK;
    for (IBaseFilter* f : DownstreamFirst()) {
        const HRESULT hr = f->Stop();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    state_ = State_Stopped;
    return result;
}

HRESULT TFilterGraph::Run() {
    std::lock_guard lock(lock_);
    if (state_ == State_Running) return S_OK;
    HRESULT hr = PauseLocked();
    if (FAILED(hr)) return hr;
    REFERENCE_TIME now = TSystemClock::Now();
    if (clock_) clock_->GetTime(&now);
    const REFERENCE_TIME start = now + kRunStartOffset;
    for (IBaseFilter* f : DownstreamFirst()) {
        hr = f->Run(start);
        if (FAILED(hr)) {
            StopLocked();
            return hr;
        }
    }
    state_ = State_Running;
    return S_OK;
}

HRESULT TFilterGraph::Pause() {
    std::lock_guard lock(lock_);
    if (state_ == State_Running) {
        for (IBaseFilter* f : DownstreamFirst()) {
            const HRESULT hr = f->Pause();
            if (FAILED(hr)) return hr;
        }
        state_ = State_Paused;
        return S_OK;
    }
    return PauseLocked();
}

HRESULT TFilterGraph::Stop() {
    std::lock_guard lock(lock_);
    return StopLocked();
}

HRESULT TFilterGraph::GetState(LONG, OAFilterState* pfs) {
    if (!pfs) return E_POINTER;
    std::lock_guard lock(lock_);
    *pfs = state_;
    return S_OK;
}

HRESULT TFilterGraph::StopWhenReady() {
    // State changes complete synchronously here, so the graph is always ready to stop.
    return Stop();
}

void TFilterGraph::PostEvent(const TEvent& e) {
    {
        std::lock_guard ev(eventMutex_);
        events_.push_back(e);
    }
    eventCv_.notify_all();
}

HRESULT TFilterGraph::Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) {
    if (EventCode == EC_COMPLETE) {
        // The application hears of completion once every renderer has finished.
        std::unique_lock ev(eventMutex_);
        ++renderersComplete_;
        if (renderersComplete_ != std::max<size_t>(renderersRunning_, 1)) return S_OK;
        ev.unlock();
        PostEvent({EC_COMPLETE, EventParam1, 0});
        return S_OK;
    }
    PostEvent({EventCode, EventParam1, EventParam2});
    return S_OK;
}

HRESULT TFilterGraph::GetEvent(LONG* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, LONG msTimeout) {
    if (!lEventCode || !lParam1 || !lParam2) return E_POINTER;
    std::unique_lock ev(eventMutex_);
    auto ready = [this] { return !events_.empty(); };
    if (msTimeout < 0) eventCv_.wait(ev, ready);
    else eventCv_.wait_for(ev, std::chrono::milliseconds(msTimeout), ready);
    if (events_.empty()) {
        *lEventCode = 0;
        *lParam1 = *lParam2 = 0;
        return E_ABORT;
    }
    const TEvent e = events_.front();
    events_.pop_front();
    *lEventCode = e.code;
    *lParam1 = e.param1;
    *lParam2 = e.param2;
    return S_OK;
}

HRESULT TFilterGraph::WaitForCompletion(LONG msTimeout, LONG* pEvCode) {
    if (!pEvCode) return E_POINTER;
    *pEvCode = 0;
    std::unique_lock ev(eventMutex_);
    auto completion = [this] {
        return std::find_if(events_.begin(), events_.end(), [](const TEvent& e) { return IsCompletionCode(e.code); });
    };
    auto ready = [&] { return completion() != events_.end(); };
    if (msTimeout < 0) eventCv_.wait(ev, ready);
    else eventCv_.wait_for(ev, std::chrono::milliseconds(msTimeout), ready);
    auto it = completion();
    if (it == events_.end()) return E_ABORT;
    *pEvCode = it->code;
    events_.erase(it);
    return S_OK;
}

HRESULT TFilterGraph::FreeEventParams(LONG, LONG_PTR, LONG_PTR) { return S_OK; }

}  // namespace dshow
