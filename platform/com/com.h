// A small COM: GUIDs, HRESULTs, reference-counted interfaces with QueryInterface, class factories, and
// in-process servers that are shared libraries named in the registry:
//   HKEY_CLASSES_ROOT "CLSID\{...}" (default value: the class name)
//   HKEY_CLASSES_ROOT "CLSID\{...}\InprocServer32" (default value: the library's full path, "ThreadingModel")
// CoCreateInstance looks a class up among the built-in classes first (registered by code in this process,
// for example the filter graph manager), then in the registry; it loads the library with dlopen, asks its
// exported DllGetClassObject for the factory and keeps the library loaded until CoFreeUnusedLibraries finds
// that its DllCanUnloadNow has answered S_OK for the whole unload delay.
//
// Interfaces are abstract classes whose first three methods are IUnknown's, in the same order as their
// counterparts elsewhere; each interface names its identifier as a static member `iid`.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

using HRESULT = int32_t;
using ULONG = uint32_t;
using DWORD = uint32_t;
using BOOL = int32_t;

constexpr HRESULT MakeHResult(uint32_t v) { return static_cast<HRESULT>(v); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001);
constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002);
constexpr HRESULT E_POINTER = MakeHResult(0x80004003);
constexpr HRESULT E_ABORT = MakeHResult(0x80004004);
constexpr HRESULT E_FAIL = MakeHResult(0x80004005);
constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFF);
constexpr HRESULT E_ACCESSDENIED = MakeHResult(0x80070005);
constexpr HRESULT E_HANDLE = MakeHResult(0x80070006);
constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000E);
constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057);
constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHResult(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHResult(0x80040111);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHResult(0x80040154);
constexpr HRESULT CO_E_DLLNOTFOUND = MakeHResult(0x800401F8);
constexpr HRESULT CO_E_ERRORINDLL = MakeHResult(0x800401F9);
constexpr HRESULT SELFREG_E_CLASS = MakeHResult(0x80040201);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];

    friend constexpr bool operator==(const GUID& a, const GUID& b) {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i]) return false;
        return true;
    }
};
static_assert(sizeof(GUID) == 16);

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal.
std::string GuidToString(const GUID& g);
// Accepts that form (either case, braces required); empty on anything else.
std::optional<GUID> StringToGuid(std::string_view text);

struct IUnknown {
    static constexpr IID iid = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
    static constexpr IID iid = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;

protected:
    ~IClassFactory() = default;
};

inline constexpr const IID& IID_IUnknown = IUnknown::iid;
inline constexpr const IID& IID_IClassFactory = IClassFactory::iid;

// Signatures of the exports of an in-process server library.
using DllGetClassObjectFn = HRESULT (*)(REFCLSID clsid, REFIID riid, void** ppv);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();

HRESULT CoInitialize(void* reserved = nullptr);
void CoUninitialize();

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv);
// True when clsid is a built-in class or HKEY_CLASSES_ROOT names an in-process server for it that
// exists as a file; asks without creating anything and logs nothing.
bool CoIsClassRegistered(REFCLSID clsid);
// A library's last object may still be running the tail of its own Release (the destructor's last
// lines, the return) when its count reaches zero, so a library is unloaded only once DllCanUnloadNow
// has answered S_OK, with no creation through it, for at least the unload delay.
inline constexpr DWORD kDefaultUnloadDelayMs = 10 * 60 * 1000;
// Unloads the libraries idle for unloadDelayMs; 0 unloads every idle one at once (safe only when no
// other thread can still be inside one).
void CoFreeUnusedLibrariesEx(DWORD unloadDelayMs, DWORD reserved = 0);
// CoFreeUnusedLibrariesEx with kDefaultUnloadDelayMs.
void CoFreeUnusedLibraries();

// A class offered by code of this process (no library, no registry entry); a later registration
// of the same class replaces the earlier one.
using BuiltinFactoryFn = HRESULT (*)(IUnknown* outer, REFIID riid, void** ppv);
void CoRegisterBuiltinClass(REFCLSID clsid, BuiltinFactoryFn create);
void CoRevokeBuiltinClass(REFCLSID clsid);

// The task allocator (memory handed across interfaces, freed by the receiver).
void* CoTaskMemAlloc(size_t size);
void CoTaskMemFree(void* p);

// Registration helpers for DllRegisterServer / DllUnregisterServer and for the registration command.
HRESULT RegisterInprocServer(REFCLSID clsid, std::string_view className, std::string_view libraryPath,
                             std::string_view threadingModel = "Both");
HRESULT UnregisterInprocServer(REFCLSID clsid);
// Full path of the shared library (or program) that holds the given address, for DllRegisterServer.
std::string ModulePathOf(const void* addressInModule);
// Loads a library and calls its DllRegisterServer (or DllUnregisterServer).
HRESULT RegisterServerLibrary(const std::string& libraryPath, bool unregister = false);

// Owning interface pointer: releases on destruction, AddRefs on copy.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a reference of its own.
    explicit ComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    // Wraps a pointer whose reference the caller hands over (no AddRef).
    static ComPtr Attach(T* p) {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    T* Detach() { return std::exchange(p_, nullptr); }
    void Reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // For out parameters: releases what it holds and hands out the slot.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    template <class U>
    HRESULT As(ComPtr<U>& out) const {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(U::iid, out.PutVoid());
    }

private:
    T* p_ = nullptr;
};

template <class T>
HRESULT CoCreate(REFCLSID clsid, ComPtr<T>& out) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, T::iid, out.PutVoid());
}
