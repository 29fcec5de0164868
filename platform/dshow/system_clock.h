// The graph's reference clock: the monotonic clock in 100-nanosecond units.
#pragma once

#include "platform/dshow/dshow.h"
#include "platform/dshow/unknown.h"

namespace dshow {

class TSystemClock final : public IReferenceClock, public TUnknown {
public:
    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    HRESULT GetTime(REFERENCE_TIME* pTime) override;

    static ComPtr<IReferenceClock> Create();
    // The same time without an object.
    static REFERENCE_TIME Now();
};

}  // namespace dshow
