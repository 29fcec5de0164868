#include "platform/dshow/base_pin.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/dshow/base_filter.h"
#include "platform/dshow/enumerators.h"

namespace dshow {

TBasePin::TBasePin(TBaseFilter* filter, std::string name, PIN_DIRECTION direction)
    : filter_(filter), name_(std::move(name)), direction_(direction) {}

TBasePin::~TBasePin() = default;

HRESULT TBasePin::QueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_IPin) return GetInterface(static_cast<IPin*>(this), ppv);
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG TBasePin::AddRef() { return filter_->AddRef(); }
ULONG TBasePin::Release() { return filter_->Release(); }

bool TBasePin::IsConnected() {
    std::lock_guard lock(filter_->FilterLock());
    return static_cast<bool>(connected_);
}

bool TBasePin::IsStopped() const { return filter_->State() == State_Stopped; }

HRESULT TBasePin::Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) {
    if (!pReceivePin) return E_POINTER;
    std::lock_guard lock(filter_->FilterLock());
    if (connected_) return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    // A pin that cannot connect at all says why, rather than that no type fits.
    const HRESULT hr = CheckConnect(pReceivePin);
    BreakConnect();
    if (FAILED(hr)) return hr;
    return AgreeMediaType(pReceivePin, pmt);
}

HRESULT TBasePin::AgreeMediaType(IPin* receivePin, const AM_MEDIA_TYPE* pmt) {
    if (pmt && !IsPartiallySpecified(*pmt)) return AttemptConnection(receivePin, pmt);

    HRESULT lastError = VFW_E_NO_ACCEPTABLE_TYPES;
    // The receiver's proposals first, then ours.
    for (int round = 0; round < 2; ++round) {
        ComPtr<IEnumMediaTypes> types;
        const HRESULT hr = round == 0 ? receivePin->EnumMediaTypes(types.Put()) : EnumMediaTypes(types.Put());
        if (FAILED(hr) || !types) continue;
        const HRESULT tried = TryMediaTypes(receivePin, pmt, types.Get());
        if (SUCCEEDED(tried)) return tried;
        if (tried != VFW_E_NO_ACCEPTABLE_TYPES) lastError = tried;
    }
    return lastError;
}

HRESULT TBasePin::TryMediaTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial, IEnumMediaTypes* types) {
    HRESULT lastError = VFW_E_NO_ACCEPTABLE_TYPES;
    for (;;) {
        AM_MEDIA_TYPE* mt = nullptr;
        ULONG fetched = 0;
        if (types->Next(1, &mt, &fetched) != S_OK || fetched != 1 || !mt) break;
        HRESULT hr = VFW_E_NO_ACCEPTABLE_TYPES;
        if (!partial || MatchesPartialType(*mt, *partial)) hr = AttemptConnection(receivePin, mt);
        DeleteMediaType(mt);
        if (SUCCEEDED(hr)) return hr;
        // A refused type is the normal case while negotiating; other failures are worth reporting.
        if (hr != VFW_E_TYPE_NOT_ACCEPTED && hr != VFW_E_NO_ACCEPTABLE_TYPES) lastError = hr;
    }
    return lastError;
}

HRESULT TBasePin::AttemptConnection(IPin* receivePin, const AM_MEDIA_TYPE* pmt) {
    HRESULT hr = CheckConnect(receivePin);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    if (CheckMediaType(pmt) != S_OK) {
        BreakConnect();
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    connected_ = ComPtr<IPin>(receivePin);
    hr = SetMediaType(pmt);
    if (SUCCEEDED(hr)) {
        hr = receivePin->ReceiveConnection(this, pmt);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(receivePin);
            if (SUCCEEDED(hr)) return S_OK;
            receivePin->Disconnect();
        }
    }
    ClearConnection();
    BreakConnect();
    return FAILED(hr) ? hr : E_FAIL;
}

HRESULT TBasePin::ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) {
    if (!pConnector || !pmt) return E_POINTER;
    std::lock_guard lock(filter_->FilterLock());
    if (connected_) return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(pConnector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    if (CheckMediaType(pmt) != S_OK) {
        BreakConnect();
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    connected_ = ComPtr<IPin>(pConnector);
    hr = SetMediaType(pmt);
    if (SUCCEEDED(hr)) hr = CompleteConnect(pConnector);
    if (FAILED(hr)) {
        ClearConnection();
        BreakConnect();
    }
    return hr;
}

HRESULT TBasePin::Disconnect() {
    std::lock_guard lock(filter_->FilterLock());
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    if (!connected_) return S_FALSE;
    BreakConnect();
    ClearConnection();
    return S_OK;
}

void TBasePin::ClearConnection() {
    connected_.Reset();
    mt_.Clear();
}

HRESULT TBasePin::ConnectedTo(IPin** pPin) {
    if (!pPin) return E_POINTER;
    std::lock_guard lock(filter_->FilterLock());
    *pPin = connected_.Get();
    if (!*pPin) return VFW_E_NOT_CONNECTED;
    (*pPin)->AddRef();
    return S_OK;
}

HRESULT TBasePin::ConnectionMediaType(AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    std::lock_guard lock(filter_->FilterLock());
    if (!connected_) {
        std::memset(pmt, 0, sizeof *pmt);
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(pmt, mt_.get());
}

HRESULT TBasePin::QueryPinInfo(PIN_INFO* pInfo) {
    if (!pInfo) return E_POINTER;
    pInfo->pFilter = filter_;
    filter_->AddRef();
    pInfo->dir = direction_;
    std::memset(pInfo->achName, 0, sizeof pInfo->achName);
    std::strncpy(pInfo->achName, name_.c_str(), sizeof pInfo->achName - 1);
    return S_OK;
}

HRESULT TBasePin::QueryDirection(PIN_DIRECTION* pPinDir) {
    if (!pPinDir) return E_POINTER;
    *pPinDir = direction_;
    return S_OK;
}

HRESULT TBasePin::QueryId(char** Id) {
    if (!Id) return E_POINTER;
    *Id = static_cast<char*>(CoTaskMemAlloc(name_.size() + 1));
    if (!*Id) return E_OUTOFMEMORY;
    std::memcpy(*Id, name_.c_str(), name_.size() + 1);
    return S_OK;
}

HRESULT TBasePin::QueryAccept(const AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    return CheckMediaType(pmt) == S_OK ? S_OK : S_FALSE;
}

HRESULT TBasePin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
    if (!ppEnum) return E_POINTER;
    std::vector<TMediaType> types;
    try {
        for (int i = 0;; ++i) {
            TMediaType mt;
            if (GetMediaType(i, &mt) != S_OK) break;
            types.push_back(std::move(mt));
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return QueryNewObject(new (std::nothrow) TEnumMediaTypes(std::move(types)), IEnumMediaTypes::iid,
                          reinterpret_cast<void**>(ppEnum));
}

HRESULT TBasePin::QueryInternalConnections(IPin**, ULONG* nPin) {
    if (nPin) *nPin = 0;
    return E_NOTIMPL;
}

HRESULT TBasePin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
    segmentStart_ = tStart;
    segmentStop_ = tStop;
    segmentRate_ = dRate;
    return S_OK;
}

HRESULT TBasePin::GetMediaType(int, TMediaType*) { return VFW_S_NO_MORE_ITEMS; }

HRESULT TBasePin::SetMediaType(const AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    mt_ = TMediaType(*pmt);
    return S_OK;
}

HRESULT TBasePin::CheckConnect(IPin* pin) {
    PIN_DIRECTION other;
    if (FAILED(pin->QueryDirection(&other))) return E_FAIL;
    return other == direction_ ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT TBasePin::BreakConnect() { return S_OK; }
HRESULT TBasePin::CompleteConnect(IPin*) { return S_OK; }
HRESULT TBasePin::Active() { return S_OK; }
HRESULT TBasePin::Inactive() { return S_OK; }
HRESULT TBasePin::Run(REFERENCE_TIME) { return S_OK; }

}  // namespace dshow
