// In-process servers built on the filter layer: the module's count of live objects and server locks
// (DllCanUnloadNow), a table of the classes it offers (factory templates) with their class factory,
// and the registration of those classes and their filters.
#pragma once

#include <atomic>
#include <span>
#include <string>

#include "platform/dshow/dshow.h"
#include "platform/dshow/unknown.h"

namespace dshow {

class TComModule {
public:
    // Held by every live object (and thread) of the module while it may still run the module's code.
    class TObjectToken {
    public:
        explicit TObjectToken(TComModule& module) : module_(&module) { ++module_->objects_; }
        TObjectToken(const TObjectToken& other) : module_(other.module_) { ++module_->objects_; }
        TObjectToken& operator=(const TObjectToken&) = delete;
        ~TObjectToken() { --module_->objects_; }

    private:
        TComModule* module_;
    };

    // S_OK when no object is alive and no server lock is held, else S_FALSE.
    HRESULT CanUnloadNow() const { return objects_.load() == 0 && locks_.load() == 0 ? S_OK : S_FALSE; }
    void Lock() { ++locks_; }
    void Unlock() { --locks_; }
    long LiveObjects() const { return objects_.load(); }

private:
    std::atomic<long> objects_{0};
    std::atomic<long> locks_{0};
};

// Makes a new object (no reference taken yet); null when it could not be made, *hr saying why.
using TCreateFn = TUnknown* (*)(HRESULT* hr);

struct TFactoryTemplate {
    const char* name;
    const CLSID* clsid;
    TCreateFn create;
    const REGFILTER2* filterSetup;  // null for classes that are no filters (property pages)
};

// DllGetClassObject over a table: CLASS_E_CLASSNOTAVAILABLE (and a null *ppv) for a class not in it.
HRESULT GetClassObjectFromTemplates(std::span<const TFactoryTemplate> templates, TComModule& module,
                                    REFCLSID clsid, REFIID riid, void** ppv);
// DllRegisterServer / DllUnregisterServer over a table: the classes' keys with the library's path and
// threading model "Both", and the filters' registration through the filter mapper. E_FAIL on any failure.
HRESULT RegisterTemplates(std::span<const TFactoryTemplate> templates, const std::string& libraryPath);
HRESULT UnregisterTemplates(std::span<const TFactoryTemplate> templates);

}  // namespace dshow
