// The DMO wrapper filter: a transform filter around one media object, created by class identifier in
// Init. Its input accepts what the object accepts; its output offers the object's output types, which
// exist only once the input is connected.
#pragma once

#include <mutex>

#include "platform/dshow/MediaObject.h"
#include "platform/dshow/transform_filter.h"

namespace dshow {

class TDmoWrapperFilter final : public TTransformFilter, public IDMOWrapperFilter {
public:
    static constexpr const char* kFilterName = "DMO Wrapper";

    // The COM creation function (a built-in class of the process).
    static HRESULT Create(IUnknown* outer, REFIID riid, void** ppv);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IDMOWrapperFilter; VFW_E_WRONG_STATE when already initialised.
    HRESULT Init(REFCLSID clsidDMO, REFCLSID catDMO) override;

    HRESULT CheckInputType(const AM_MEDIA_TYPE* in) override;
    HRESULT CheckTransform(const AM_MEDIA_TYPE* in, const AM_MEDIA_TYPE* out) override;
    HRESULT GetMediaType(int position, TMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE* pmt) override;
    HRESULT BreakConnect(PIN_DIRECTION direction) override;

private:
    TDmoWrapperFilter();
    ~TDmoWrapperFilter() override = default;
    ComPtr<IMediaObject> Object();

    std::mutex objectMutex_;
    ComPtr<IMediaObject> object_;
};

}  // namespace dshow
