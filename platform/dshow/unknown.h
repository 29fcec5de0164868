// Reference counting for the objects of the filter layer. An object starts with no reference; its
// creator takes the first one through QueryInterface (see QueryNewObject). The most derived class
// routes the three IUnknown methods of all its interfaces to the NonDelegating ones with
// DSHOW_DECLARE_IUNKNOWN.
#pragma once

#include <atomic>

#include "platform/com/com.h"

namespace dshow {

class TUnknown {
public:
    TUnknown() = default;
    TUnknown(const TUnknown&) = delete;
    TUnknown& operator=(const TUnknown&) = delete;

    // Answers IUnknown with `identity`; derived classes answer their interfaces first.
    virtual HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG NonDelegatingAddRef() { return ++refs_; }
    virtual ULONG NonDelegatingRelease() {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~TUnknown() = default;

private:
    std::atomic<ULONG> refs_{0};
};

// Hands out `itf` with a reference of its own.
template <class I>
HRESULT GetInterface(I* itf, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = itf;
    itf->AddRef();
    return S_OK;
}

// Takes the first reference of a freshly made object through QueryInterface; an object that lacks the
// interface is deleted again.
template <class T>
HRESULT QueryNewObject(T* obj, REFIID riid, void** ppv) {
    if (!ppv) {
        obj->NonDelegatingAddRef();
        obj->NonDelegatingRelease();
        return E_POINTER;
    }
    *ppv = nullptr;
    if (!obj) return E_OUTOFMEMORY;
    obj->NonDelegatingAddRef();
    const HRESULT hr = obj->NonDelegatingQueryInterface(riid, ppv);
    obj->NonDelegatingRelease();
    return hr;
}

}  // namespace dshow

#define DSHOW_DECLARE_IUNKNOWN                                                                           \
    HRESULT QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); } \
    ULONG AddRef() override { return NonDelegatingAddRef(); }                                           \
    ULONG Release() override { return NonDelegatingRelease(); }
