// The in-process server libraries this process has loaded, by path. A library stays loaded until
// FreeUnused finds that its DllCanUnloadNow has answered S_OK, with no creation through it, for the
// whole unload delay; one without DllCanUnloadNow stays for the life of the process. The table lives as long as the
// process and is never torn down, so no library is unloaded under objects that outlive main.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/com/com.h"
#include "platform/util/shared_library.h"

namespace platform {

struct InprocServer {
    std::string path;
    SharedLibrary library;
    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
    // Guarded by the table's mutex: when the library was last handed out, and since when it has
    // answered S_OK at every FreeUnused.
    std::chrono::steady_clock::time_point lastAcquired;
    std::optional<std::chrono::steady_clock::time_point> idleSince;
};

class InprocServerTable {
public:
    static InprocServerTable& Instance();

    // The loaded library at path, loading it when needed. While the caller holds the result the
    // library is not unloaded. Fails with CO_E_DLLNOTFOUND (no such file) or CO_E_ERRORINDLL (not a
    // loadable library, or no DllGetClassObject).
    HRESULT Acquire(const std::string& path, std::shared_ptr<const InprocServer>& server);
    // Unloads the libraries that have been idle for at least delay (see CoFreeUnusedLibrariesEx).
    void FreeUnused(std::chrono::milliseconds delay);

private:
    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<InprocServer>> servers_;
};

}  // namespace platform
