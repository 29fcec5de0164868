// The in-process server libraries this process has loaded, by path. A library stays loaded until
// FreeUnused finds that its DllCanUnloadNow answers S_OK while no creation through it is under way;
// one without DllCanUnloadNow stays for the life of the process. The table lives as long as the
// process and is never torn down, so no library is unloaded under objects that outlive main.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/com/com.h"
#include "platform/com/shared_library.h"

namespace platform {

struct InprocServer {
    std::string path;
    SharedLibrary library;
    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
};

class InprocServerTable {
public:
    static InprocServerTable& Instance();

    // The loaded library at path, loading it when needed. While the caller holds the result the
    // library is not unloaded. Fails with CO_E_DLLNOTFOUND (no such file) or CO_E_ERRORINDLL (not a
    // loadable library, or no DllGetClassObject).
    HRESULT Acquire(const std::string& path, std::shared_ptr<const InprocServer>& server);
    void FreeUnused();

private:
    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<InprocServer>> servers_;
};

}  // namespace platform
