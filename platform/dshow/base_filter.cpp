#include "platform/dshow/base_filter.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/dshow/base_pin.h"
#include "platform/dshow/enumerators.h"

namespace dshow {

TBaseFilter::TBaseFilter(std::string name, const CLSID& clsid) : name_(std::move(name)), clsid_(clsid) {}

HRESULT TBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_IBaseFilter || riid == IMediaFilter::iid || riid == IPersist::iid)
        return GetInterface(static_cast<IBaseFilter*>(this), ppv);
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT TBaseFilter::GetClassID(CLSID* pClassID) {
    if (!pClassID) return E_POINTER;
    *pClassID = clsid_;
    return S_OK;
}

HRESULT TBaseFilter::Stop() {
    std::lock_guard lock(filterLock_);
    HRESULT result = S_OK;
    if (State() != State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            TBasePin* pin = GetPin(i);
            if (!pin || !pin->IsConnected()) continue;
            const HRESULT hr = pin->Inactive();
            if (FAILED(hr) && SUCCEEDED(result)) result = hr;
        }
    }
    SetState(State_Stopped);
    return result;
}

HRESULT TBaseFilter::Pause() {
    std::lock_guard lock(filterLock_);
    if (State() == State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            TBasePin* pin = GetPin(i);
            if (!pin || !pin->IsConnected()) continue;
            const HRESULT hr = pin->Active();
            if (FAILED(hr)) return hr;
        }
    }
    SetState(State_Paused);
    return S_OK;
}

HRESULT TBaseFilter::Run(REFERENCE_TIME tStart) {
    std::lock_guard lock(filterLock_);
    streamStart_ = tStart;
    if (State() == State_Stopped) {
        const HRESULT hr = Pause();
        if (FAILED(hr)) return hr;
    }
    if (State() != State_Running) {
        for (int i = 0; i < GetPinCount(); ++i) {
            TBasePin* pin = GetPin(i);
            if (!pin || !pin->IsConnected()) continue;
            const HRESULT hr = pin->Run(tStart);
            if (FAILED(hr)) return hr;
        }
    }
    SetState(State_Running);
    return S_OK;
}

HRESULT TBaseFilter::GetState(DWORD, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    *state = State();
    return S_OK;
}

HRESULT TBaseFilter::SetSyncSource(IReferenceClock* pClock) {
    std::lock_guard lock(filterLock_);
    clock_ = ComPtr<IReferenceClock>(pClock);
    return S_OK;
}

HRESULT TBaseFilter::GetSyncSource(IReferenceClock** pClock) {
    if (!pClock) return E_POINTER;
    std::lock_guard lock(filterLock_);
    *pClock = clock_.Get();
    if (*pClock) (*pClock)->AddRef();
    return S_OK;
}

HRESULT TBaseFilter::EnumPins(IEnumPins** ppEnum) {
    if (!ppEnum) return E_POINTER;
    std::vector<ComPtr<IPin>> pins;
    {
        std::lock_guard lock(filterLock_);
        for (int i = 0; i < GetPinCount(); ++i)
            if (TBasePin* pin = GetPin(i)) pins.emplace_back(static_cast<IPin*>(pin));
    }
    return QueryNewObject(new (std::nothrow) TEnumPins(std::move(pins)), IEnumPins::iid,
                          reinterpret_cast<void**>(ppEnum));
}

HRESULT TBaseFilter::FindPin(const char* Id, IPin** ppPin) {
    if (!Id || !ppPin) return E_POINTER;
    *ppPin = nullptr;
    std::lock_guard lock(filterLock_);
    for (int i = 0; i < GetPinCount(); ++i) {
        TBasePin* pin = GetPin(i);
        if (pin && pin->Name() == Id) return GetInterface(static_cast<IPin*>(pin), reinterpret_cast<void**>(ppPin));
    }
    return VFW_E_NOT_FOUND;
}

HRESULT TBaseFilter::QueryFilterInfo(FILTER_INFO* pInfo) {
    if (!pInfo) return E_POINTER;
    std::lock_guard lock(infoMutex_);
    std::memset(pInfo->achName, 0, sizeof pInfo->achName);
    std::strncpy(pInfo->achName, name_.c_str(), sizeof pInfo->achName - 1);
    pInfo->pGraph = graph_;
    if (graph_) graph_->AddRef();
    return S_OK;
}

HRESULT TBaseFilter::JoinFilterGraph(IFilterGraph* pGraph, const char* pName) {
    std::lock_guard lock(infoMutex_);
    graph_ = pGraph;
    eventSink_ = nullptr;
    if (pGraph) {
        // Keep the sink without a reference, like the graph pointer itself.
        IMediaEventSink* sink = nullptr;
        if (SUCCEEDED(pGraph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))) && sink) {
            eventSink_ = sink;
            sink->Release();
        }
    }
    if (pName) name_ = pName;
    return S_OK;
}

HRESULT TBaseFilter::QueryVendorInfo(char** pVendorInfo) {
    if (pVendorInfo) *pVendorInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT TBaseFilter::NotifyEvent(LONG code, LONG_PTR param1, LONG_PTR param2) {
    IMediaEventSink* sink = eventSink_.load();
    if (!sink) return E_NOTIMPL;
    if (code == EC_COMPLETE && param2 == 0) param2 = reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this));
    return sink->Notify(code, param1, param2);
}

std::string TBaseFilter::Name() {
    std::lock_guard lock(infoMutex_);
    return name_;
}

}  // namespace dshow
