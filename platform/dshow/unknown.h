// Reference counting for the objects of the filter layer. An object starts with no reference; its
// creator takes the first one through QueryInterface (see QueryNewObject). The most derived class
// routes the three IUnknown methods of all its interfaces to the NonDelegating ones with
// DSHOW_DECLARE_IUNKNOWN.
#pragma once

#include <atomic>
#include <exception>

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

// Hands out an object that make() builds, as QueryNewObject does; a build that throws is E_OUTOFMEMORY
// with *ppv null.
template <class Make>
HRESULT QueryMadeObject(REFIID riid, void** ppv, Make make) {
    try {
        return QueryNewObject(make(), riid, ppv);
    } catch (const std::exception&) {
        if (ppv) *ppv = nullptr;
        return E_OUTOFMEMORY;
    }
}

// A class's creation function: no aggregation (CLASS_E_NOAGGREGATION with *ppv null), else
// QueryMadeObject.
template <class Make>
HRESULT CreateMadeObject(IUnknown* outer, REFIID riid, void** ppv, Make make) {
    if (outer) {
        if (ppv) *ppv = nullptr;
        return CLASS_E_NOAGGREGATION;
    }
    return QueryMadeObject(riid, ppv, make);
}

// The object of a factory table's creation function: make()'s object with S_OK in *hr, or nullptr with
// E_OUTOFMEMORY when the build throws.
template <class Make>
TUnknown* FactoryMadeObject(HRESULT* hr, Make make) {
    try {
        if (hr) *hr = S_OK;
        return make();
    } catch (const std::exception&) {
        if (hr) *hr = E_OUTOFMEMORY;
        return nullptr;
    }
}

}  // namespace dshow

#define DSHOW_DECLARE_IUNKNOWN                                                                           \
    HRESULT QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); } \
    ULONG AddRef() override { return NonDelegatingAddRef(); }                                           \
    ULONG Release() override { return NonDelegatingRelease(); }
