#include "platform/dshow/class_factory.h"

#include <new>

#include "platform/dshow/dshow_log.h"

namespace dshow {
namespace {

class TClassFactory final : public IClassFactory, public TUnknown {
public:
    TClassFactory(const TFactoryTemplate& t, TComModule& module) : template_(t), module_(module), token_(module) {}

    DSHOW_DECLARE_IUNKNOWN

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory)
            return GetInterface(static_cast<IClassFactory*>(this), ppv);
        if (ppv) *ppv = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        HRESULT hr = S_OK;
        TUnknown* obj = nullptr;
        try {
            obj = template_.create(&hr);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (const std::exception& e) {
            Log(std::string("[") + template_.name + "] creation failed: " + e.what());
            return E_FAIL;
        }
        if (!obj) return FAILED(hr) ? hr : E_OUTOFMEMORY;
        if (FAILED(hr)) {
            obj->NonDelegatingAddRef();
            obj->NonDelegatingRelease();
            return hr;
        }
        return QueryNewObject(obj, riid, ppv);
    }

    HRESULT LockServer(BOOL lock) override {
        if (lock) module_.Lock();
        else module_.Unlock();
        return S_OK;
    }

private:
    const TFactoryTemplate& template_;
    TComModule& module_;
    TComModule::TObjectToken token_;
};

}  // namespace

HRESULT GetClassObjectFromTemplates(std::span<const TFactoryTemplate> templates, TComModule& module,
                                    REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    for (const TFactoryTemplate& t : templates) {
        if (*t.clsid == clsid) return QueryNewObject(new (std::nothrow) TClassFactory(t, module), riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterTemplates(std::span<const TFactoryTemplate> templates, const std::string& libraryPath) {
    ComPtr<IFilterMapper2> mapper;
    if (FAILED(CoCreate(CLSID_FilterMapper2, mapper))) return E_FAIL;
    for (const TFactoryTemplate& t : templates) {
        const std::string className = t.filterSetup ? t.name : "";
        if (FAILED(RegisterInprocServer(*t.clsid, className, libraryPath, "Both"))) return E_FAIL;
        if (t.filterSetup &&
            FAILED(mapper->RegisterFilter(*t.clsid, t.name, nullptr, &CLSID_LegacyAmFilterCategory, nullptr,
                                          t.filterSetup)))
            return E_FAIL;
    }
    return S_OK;
}

HRESULT UnregisterTemplates(std::span<const TFactoryTemplate> templates) {
    ComPtr<IFilterMapper2> mapper;
    if (FAILED(CoCreate(CLSID_FilterMapper2, mapper))) return E_FAIL;
    HRESULT result = S_OK;
    for (const TFactoryTemplate& t : templates) {
        if (t.filterSetup && FAILED(mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *t.clsid)))
            result = E_FAIL;
        if (FAILED(UnregisterInprocServer(*t.clsid))) result = E_FAIL;
    }
    return result;
}

}  // namespace dshow
