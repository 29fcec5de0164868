#include "platform/dshow/media_type.h"

#include <cstring>
#include <utility>

void FreeMediaType(AM_MEDIA_TYPE& mt) {
    if (mt.pbFormat) CoTaskMemFree(mt.pbFormat);
    mt.pbFormat = nullptr;
    mt.cbFormat = 0;
    if (mt.pUnk) mt.pUnk->Release();
    mt.pUnk = nullptr;
}

void DeleteMediaType(AM_MEDIA_TYPE* pmt) {
    if (!pmt) return;
    FreeMediaType(*pmt);
    CoTaskMemFree(pmt);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src) {
    if (!dst || !src) return E_POINTER;
    *dst = *src;
    dst->pbFormat = nullptr;
    dst->cbFormat = 0;
    if (src->cbFormat && src->pbFormat) {
        dst->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src->cbFormat));
        if (!dst->pbFormat) {
            std::memset(dst, 0, sizeof(*dst));
            return E_OUTOFMEMORY;
        }
        std::memcpy(dst->pbFormat, src->pbFormat, src->cbFormat);
        dst->cbFormat = src->cbFormat;
    }
    if (dst->pUnk) dst->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src) {
    auto* p = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!p) return nullptr;
    if (FAILED(CopyMediaType(p, src))) {
        CoTaskMemFree(p);
        return nullptr;
    }
    return p;
}

namespace dshow {

bool IsPartiallySpecified(const AM_MEDIA_TYPE& mt) {
    return mt.majortype == GUID_NULL || mt.subtype == GUID_NULL || mt.formattype == GUID_NULL;
}

bool MatchesPartialType(const AM_MEDIA_TYPE& candidate, const AM_MEDIA_TYPE& partial) {
    if (partial.majortype != GUID_NULL && partial.majortype != candidate.majortype) return false;
    if (partial.subtype != GUID_NULL && partial.subtype != candidate.subtype) return false;
    if (partial.formattype != GUID_NULL) {
        if (partial.formattype != candidate.formattype) return false;
        if (partial.cbFormat != candidate.cbFormat) return false;
        if (partial.cbFormat && std::memcmp(partial.pbFormat, candidate.pbFormat, partial.cbFormat) != 0)
            return false;
    }
    return true;
}

TMediaType::TMediaType() { std::memset(&mt_, 0, sizeof(mt_)); }

TMediaType::TMediaType(const AM_MEDIA_TYPE& mt) : TMediaType() { CopyMediaType(&mt_, &mt); }

TMediaType::TMediaType(const GUID& major, const GUID& sub) : TMediaType() {
    mt_.majortype = major;
    mt_.subtype = sub;
    mt_.formattype = FORMAT_None;
}

TMediaType::TMediaType(const TMediaType& other) : TMediaType() { CopyMediaType(&mt_, &other.mt_); }

TMediaType::TMediaType(TMediaType&& other) noexcept : mt_(other.mt_) { std::memset(&other.mt_, 0, sizeof(mt_)); }

TMediaType& TMediaType::operator=(const TMediaType& other) {
    if (this != &other) {
        Clear();
        CopyMediaType(&mt_, &other.mt_);
    }
    return *this;
}

TMediaType& TMediaType::operator=(TMediaType&& other) noexcept {
    if (this != &other) {
        Clear();
        mt_ = other.mt_;
        std::memset(&other.mt_, 0, sizeof(mt_));
    }
    return *this;
}

TMediaType::~TMediaType() { FreeMediaType(mt_); }

bool TMediaType::SetFormat(const GUID& formatType, const void* data, size_t size) {
    if (mt_.pbFormat) CoTaskMemFree(mt_.pbFormat);
    mt_.pbFormat = nullptr;
    mt_.cbFormat = 0;
    mt_.formattype = formatType;
    if (size == 0) return true;
    mt_.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(size));
    if (!mt_.pbFormat) return false;
    std::memcpy(mt_.pbFormat, data, size);
    mt_.cbFormat = static_cast<ULONG>(size);
    return true;
}

void TMediaType::Clear() {
    FreeMediaType(mt_);
    std::memset(&mt_, 0, sizeof(mt_));
}

bool operator==(const TMediaType& a, const TMediaType& b) {
    const AM_MEDIA_TYPE& x = *a.get();
    const AM_MEDIA_TYPE& y = *b.get();
    return x.majortype == y.majortype && x.subtype == y.subtype && x.formattype == y.formattype &&
           x.cbFormat == y.cbFormat && (x.cbFormat == 0 || std::memcmp(x.pbFormat, y.pbFormat, x.cbFormat) == 0);
}

}  // namespace dshow
