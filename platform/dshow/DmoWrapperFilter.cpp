#include "platform/dshow/DmoWrapperFilter.h"

#include <algorithm>

#include "platform/dshow/dshow_log.h"
#include "platform/dshow/error_text.h"

namespace dshow {
namespace {
constexpr LONG kOutputBuffers = 2;
}

HRESULT TDmoWrapperFilter::Create(IUnknown* outer, REFIID riid, void** ppv) {
    return CreateMadeObject(outer, riid, ppv, [] { return new TDmoWrapperFilter(); });
}

TDmoWrapperFilter::TDmoWrapperFilter() : TTransformFilter(kFilterName, CLSID_DMOWrapperFilter) {}

HRESULT TDmoWrapperFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IDMOWrapperFilter::iid) return GetInterface(static_cast<IDMOWrapperFilter*>(this), ppv);
    return TTransformFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT TDmoWrapperFilter::Init(REFCLSID clsidDMO, REFCLSID) {
    std::lock_guard lock(objectMutex_);
    if (object_) return VFW_E_WRONG_STATE;
    ComPtr<IMediaObject> object;
    const HRESULT hr = CoCreate(clsidDMO, object);
    if (FAILED(hr)) {
        Log("[" + Name() + "] cannot create the media object " + GuidToString(clsidDMO) + " - " + ErrorText(hr));
        return hr;
    }
    object_ = object;
    return S_OK;
}

ComPtr<IMediaObject> TDmoWrapperFilter::Object() {
    std::lock_guard lock(objectMutex_);
    return object_;
}

HRESULT TDmoWrapperFilter::CheckInputType(const AM_MEDIA_TYPE* in) {
    ComPtr<IMediaObject> object = Object();
    if (!object) return E_UNEXPECTED;
    return object->SetInputType(0, in, DMO_SET_TYPEF_TEST_ONLY) == S_OK ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT TDmoWrapperFilter::CheckTransform(const AM_MEDIA_TYPE*, const AM_MEDIA_TYPE* out) {
    ComPtr<IMediaObject> object = Object();
    if (!object) return E_UNEXPECTED;
    return object->SetOutputType(0, out, DMO_SET_TYPEF_TEST_ONLY) == S_OK ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT TDmoWrapperFilter::GetMediaType(int position, TMediaType* mt) {
    if (!mt) return E_POINTER;
    ComPtr<IMediaObject> object = Object();
    if (!object || position < 0) return VFW_S_NO_MORE_ITEMS;
    AM_MEDIA_TYPE offered{};
    const HRESULT hr = object->GetOutputType(0, static_cast<DWORD>(position), &offered);
    if (hr != S_OK) return VFW_S_NO_MORE_ITEMS;  // past the last, or no input type yet
    *mt = TMediaType(offered);
    FreeMediaType(offered);
    return S_OK;
}

HRESULT TDmoWrapperFilter::SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE* pmt) {
    ComPtr<IMediaObject> object = Object();
    if (!object) return E_UNEXPECTED;
    const HRESULT hr = direction == PINDIR_INPUT ? object->SetInputType(0, pmt, 0) : object->SetOutputType(0, pmt, 0);
    return hr == S_OK ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT TDmoWrapperFilter::BreakConnect(PIN_DIRECTION direction) {
    if (ComPtr<IMediaObject> object = Object()) {
        if (direction == PINDIR_INPUT)
            object->SetInputType(0, nullptr, DMO_SET_TYPEF_CLEAR);
        else
            object->SetOutputType(0, nullptr, DMO_SET_TYPEF_CLEAR);
    }
    return TTransformFilter::BreakConnect(direction);
}

HRESULT TDmoWrapperFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    if (!allocator || !request) return E_POINTER;
    ComPtr<IMediaObject> object = Object();
    if (!object) return E_UNEXPECTED;
    DWORD size = 0, alignment = 1;
    HRESULT hr = object->GetOutputSizeInfo(0, &size, &alignment);
    if (FAILED(hr)) return hr;
    request->cBuffers = std::max(request->cBuffers, kOutputBuffers);
    request->cbBuffer = std::max(request->cbBuffer, static_cast<LONG>(size));
    request->cbAlign = std::max<LONG>(request->cbAlign, static_cast<LONG>(std::max<DWORD>(alignment, 1)));
    ALLOCATOR_PROPERTIES actual{};
    if (FAILED(hr = allocator->SetProperties(request, &actual))) return hr;
    return actual.cbBuffer >= static_cast<LONG>(size) ? S_OK : E_FAIL;
}

HRESULT TDmoWrapperFilter::Transform(IMediaSample* in, IMediaSample* out) {
    ComPtr<IMediaObject> object = Object();
    if (!object) return E_UNEXPECTED;
    BYTE* src = nullptr;
    BYTE* dst = nullptr;
    HRESULT hr = in->GetPointer(&src);
    if (FAILED(hr)) return hr;
    if (FAILED(hr = out->GetPointer(&dst))) return hr;
    const LONG length = in->GetActualDataLength();
    DWORD written = 0;
    hr = object->ProcessBuffer(src, static_cast<DWORD>(std::max<LONG>(length, 0)), dst,
                               static_cast<DWORD>(std::max<LONG>(out->GetSize(), 0)), &written);
    if (hr == E_INVALIDARG) {
        // A short picture is dropped, not fatal: the stream goes on with the next one.
        Log("[" + Name() + "] dropped a sample of " + std::to_string(length) + " bytes");
        return S_FALSE;
    }
    if (FAILED(hr)) return hr;
    return out->SetActualDataLength(static_cast<LONG>(written));
}

}  // namespace dshow
