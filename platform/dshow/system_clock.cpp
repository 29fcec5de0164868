#include "platform/dshow/system_clock.h"

#include <chrono>
#include <new>

namespace dshow {

HRESULT TSystemClock::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_IReferenceClock)
        return GetInterface(static_cast<IReferenceClock*>(this), ppv);
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
}

REFERENCE_TIME TSystemClock::Now() {
    using namespace std::chrono;
    return duration_cast<duration<int64_t, std::ratio<1, 10'000'000>>>(steady_clock::now().time_since_epoch())
        .count();
}

HRESULT TSystemClock::GetTime(REFERENCE_TIME* pTime) {
    if (!pTime) return E_POINTER;
    *pTime = Now();
    return S_OK;
}

ComPtr<IReferenceClock> TSystemClock::Create() {
    ComPtr<IReferenceClock> c;
    QueryNewObject(new (std::nothrow) TSystemClock, IID_IReferenceClock, c.PutVoid());
    return c;
}

}  // namespace dshow
