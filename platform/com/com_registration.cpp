// Registration of in-process servers in HKEY_CLASSES_ROOT, and loading a library to let it register itself.
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/com/com.h"
#include "platform/com/com_log.h"
#include "platform/registry/registry.h"
#include "platform/util/shared_library.h"

namespace {

std::string ClassKey(REFCLSID clsid) { return "CLSID\\" + GuidToString(clsid); }

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

HRESULT RegisterInprocServer(REFCLSID clsid, std::string_view className, std::string_view libraryPath,
                             std::string_view threadingModel) {
    platform::TRegistry reg(platform::RootKey::ClassesRoot);
    const std::string key = ClassKey(clsid);
    bool ok = reg.OpenKey(key, true) && reg.WriteString("", className) && reg.OpenKey(key + "\\InprocServer32", true) &&
              reg.WriteString("", libraryPath) && reg.WriteString("ThreadingModel", threadingModel);
    if (!ok) {
        platform::LogCom("class " + GuidToString(clsid) + " cannot be registered");
        return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT UnregisterInprocServer(REFCLSID clsid) {
    // Writes go to the current user's hive; a machine-wide entry stays where it is.
    platform::TRegistry reg(platform::RootKey::ClassesRoot);
    const std::string key = ClassKey(clsid);
    if (reg.DeleteKey(key)) return S_OK;
    platform::TRegistry user(platform::RootKey::CurrentUser);
    if (!user.KeyExists("Software\\Classes\\" + key)) return S_OK;  // was not registered
    platform::LogCom("class " + GuidToString(clsid) + " cannot be unregistered");
    return SELFREG_E_CLASS;
}

std::string ModulePathOf(const void* addressInModule) {
    Dl_info info{};
    if (::dladdr(addressInModule, &info) && info.dli_fname && std::strchr(info.dli_fname, '/'))
        return RealPath(info.dli_fname);
    // The main program is reported by the name it was started with.
    return RealPath("/proc/self/exe");
}

HRESULT RegisterServerLibrary(const std::string& libraryPath, bool unregister) {
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    std::error_code ec;
    if (!std::filesystem::exists(libraryPath, ec)) {
        platform::LogCom("library \"" + libraryPath + "\" not found");
        return CO_E_DLLNOTFOUND;
    }
    // The library records the path it was loaded from: make it a full one.
    const std::string path = RealPath(std::filesystem::absolute(libraryPath, ec).string());
    platform::SharedLibrary library;
    if (!library.Open(path)) {
        platform::LogCom("library \"" + path + "\" cannot be loaded: " + library.Error());
        return CO_E_ERRORINDLL;
    }
    auto call = reinterpret_cast<DllRegisterServerFn>(library.Symbol(entry));
    if (!call) {
        platform::LogCom("library \"" + path + "\" has no " + entry);
        return CO_E_ERRORINDLL;
    }
    return call();
}
