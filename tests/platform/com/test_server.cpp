// A tiny in-process server: one class (a counter), its factory, and the four library exports.
#include <atomic>
#include <new>

#include "tests/platform/com/test_server_api.h"

namespace {

std::atomic<int> g_live{0};   // objects and factories
std::atomic<int> g_locks{0};  // LockServer(TRUE) without its FALSE

template <class Interface>
class RefCounted : public Interface {
public:
    RefCounted() { ++g_live; }
    virtual ~RefCounted() { --g_live; }

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == Interface::iid) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<ULONG> refs_{0};
};

class TestCounter final : public RefCounted<ITestCounter> {
public:
    int32_t Increment() override { return ++value_; }

private:
    std::atomic<int32_t> value_{0};
};

class TestCounterFactory final : public RefCounted<IClassFactory> {
public:
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* counter = new (std::nothrow) TestCounter;
        if (!counter) return E_OUTOFMEMORY;
        counter->AddRef();
        HRESULT hr = counter->QueryInterface(riid, ppv);
        counter->Release();
        return hr;
    }
    HRESULT LockServer(BOOL lock) override {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }
};

}  // namespace

extern "C" {

HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!(clsid == CLSID_TestCounter)) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new TestCounterFactory;
    factory->AddRef();
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

HRESULT DllCanUnloadNow() { return g_live == 0 && g_locks == 0 ? S_OK : S_FALSE; }

HRESULT DllRegisterServer() {
    return RegisterInprocServer(CLSID_TestCounter, "Test Counter", ModulePathOf(reinterpret_cast<void*>(&DllRegisterServer)));
}

HRESULT DllUnregisterServer() { return UnregisterInprocServer(CLSID_TestCounter); }

int TestServerLiveObjects() { return g_live; }

}  // extern "C"
