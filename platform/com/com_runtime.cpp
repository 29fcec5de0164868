// Class creation: built-in classes first, then in-process servers named in HKEY_CLASSES_ROOT.
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>

#include "platform/com/com.h"
#include "platform/com/com_log.h"
#include "platform/com/inproc_server_table.h"
#include "platform/registry/registry.h"

namespace {

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

struct BuiltinClasses {
    std::mutex mutex;
    std::map<GUID, BuiltinFactoryFn, GuidLess> factories;
};

BuiltinClasses& Builtins() {
    static auto* classes = new BuiltinClasses;  // outlives every static object that may create one
    return *classes;
}

BuiltinFactoryFn FindBuiltin(REFCLSID clsid) {
    BuiltinClasses& classes = Builtins();
    std::lock_guard<std::mutex> guard(classes.mutex);
    auto it = classes.factories.find(clsid);
    return it == classes.factories.end() ? nullptr : it->second;
}

std::mutex g_initMutex;
int g_initCount = 0;

// The library that serves the class, from "CLSID\{...}\InprocServer32"; empty when not registered.
std::string InprocServerPath(REFCLSID clsid) {
    platform::TRegistry reg(platform::RootKey::ClassesRoot);
    if (!reg.OpenKeyReadOnly("CLSID\\" + GuidToString(clsid) + "\\InprocServer32")) return {};
    return reg.ReadString("").value_or(std::string());
}

}  // namespace

HRESULT CoInitialize(void*) {
    std::lock_guard<std::mutex> guard(g_initMutex);
    return g_initCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    {
        std::lock_guard<std::mutex> guard(g_initMutex);
        if (g_initCount == 0 || --g_initCount > 0) return;
    }
    CoFreeUnusedLibraries();
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;  // in-process servers are all there is
    if (BuiltinFactoryFn create = FindBuiltin(clsid)) return create(outer, riid, ppv);

    const std::string path = InprocServerPath(clsid);
    if (path.empty()) {
        platform::LogCom("class " + GuidToString(clsid) + " is not registered");
        return REGDB_E_CLASSNOTREG;
    }
    std::shared_ptr<const platform::InprocServer> server;
    HRESULT hr = platform::InprocServerTable::Instance().Acquire(path, server);
    if (FAILED(hr)) return hr;

    ComPtr<IClassFactory> factory;
    hr = server->getClassObject(clsid, IID_IClassFactory, factory.PutVoid());
    if (FAILED(hr) || !factory) {
        platform::LogCom("class " + GuidToString(clsid) + ": \"" + path + "\" offers no factory for it");
        return FAILED(hr) ? hr : E_UNEXPECTED;
    }
    return factory->CreateInstance(outer, riid, ppv);
}

bool CoIsClassRegistered(REFCLSID clsid) {
    if (FindBuiltin(clsid)) return true;
    const std::string path = InprocServerPath(clsid);
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

void CoFreeUnusedLibrariesEx(DWORD unloadDelayMs, DWORD) {
    platform::InprocServerTable::Instance().FreeUnused(std::chrono::milliseconds(unloadDelayMs));
}

void CoFreeUnusedLibraries() { CoFreeUnusedLibrariesEx(kDefaultUnloadDelayMs); }

void CoRegisterBuiltinClass(REFCLSID clsid, BuiltinFactoryFn create) {
    BuiltinClasses& classes = Builtins();
    std::lock_guard<std::mutex> guard(classes.mutex);
    classes.factories[clsid] = create;
}

void CoRevokeBuiltinClass(REFCLSID clsid) {
    BuiltinClasses& classes = Builtins();
    std::lock_guard<std::mutex> guard(classes.mutex);
    classes.factories.erase(clsid);
}

void* CoTaskMemAlloc(size_t size) { return std::malloc(size ? size : 1); }

void CoTaskMemFree(void* p) { std::free(p); }
