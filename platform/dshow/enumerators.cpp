#include "platform/dshow/enumerators.h"

namespace dshow {

TEnumMediaTypes::TEnumMediaTypes(std::vector<TMediaType> types, size_t position)
    : types_(std::move(types)), pos_(position) {}

HRESULT TEnumMediaTypes::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IEnumMediaTypes::iid)
        return GetInterface(static_cast<IEnumMediaTypes*>(this), ppv);
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT TEnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** out, ULONG* fetched) {
    if (!out) return E_POINTER;
    if (count > 1 && !fetched) return E_INVALIDARG;
    ULONG n = 0;
    while (n < count && pos_ < types_.size()) {
        AM_MEDIA_TYPE* copy = CreateMediaType(types_[pos_].get());
        if (!copy) break;
        out[n++] = copy;
        ++pos_;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT TEnumMediaTypes::Skip(ULONG count) {
    pos_ += count;
    if (pos_ > types_.size()) {
        pos_ = types_.size();
        return S_FALSE;
    }
    return S_OK;
}

HRESULT TEnumMediaTypes::Reset() {
    pos_ = 0;
    return S_OK;
}

HRESULT TEnumMediaTypes::Clone(IEnumMediaTypes** out) {
    return QueryNewObject(new (std::nothrow) TEnumMediaTypes(types_, pos_), IEnumMediaTypes::iid, reinterpret_cast<void**>(out));
}

}  // namespace dshow
