#include "platform/com/inproc_server_table.h"

#include <unistd.h>

#include <algorithm>

#include "platform/com/com_log.h"

namespace platform {

InprocServerTable& InprocServerTable::Instance() {
    static auto* table = new InprocServerTable;  // never destroyed: see the header
    return *table;
}

HRESULT InprocServerTable::Acquire(const std::string& path, std::shared_ptr<const InprocServer>& server) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (auto it = servers_.find(path); it != servers_.end()) {
        it->second->lastAcquired = std::chrono::steady_clock::now();
        it->second->idleSince.reset();
        server = it->second;
        return S_OK;
    }
    auto loaded = std::make_shared<InprocServer>();
    loaded->path = path;
    if (!loaded->library.Open(path)) {
        // A bare name is searched for by the loader; a path names one file.
        bool missing = path.find('/') == std::string::npos || ::access(path.c_str(), F_OK) != 0;
        LogCom("library \"" + path + "\" " + (missing ? "not found: " : "cannot be loaded: ") + loaded->library.Error());
        return missing ? CO_E_DLLNOTFOUND : CO_E_ERRORINDLL;
    }
    loaded->getClassObject = reinterpret_cast<DllGetClassObjectFn>(loaded->library.Symbol("DllGetClassObject"));
    loaded->canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(loaded->library.Symbol("DllCanUnloadNow"));
    if (!loaded->getClassObject) {
        LogCom("library \"" + path + "\" has no DllGetClassObject");
        return CO_E_ERRORINDLL;
    }
    loaded->lastAcquired = std::chrono::steady_clock::now();
    servers_.emplace(path, loaded);
    server = std::move(loaded);
    return S_OK;
}

void InprocServerTable::FreeUnused(std::chrono::milliseconds delay) {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> guard(mutex_);
    for (auto it = servers_.begin(); it != servers_.end();) {
        // Holders other than the table are creations under way; new holders need the mutex.
        InprocServer& server = *it->second;
        const bool idle = it->second.use_count() == 1 && server.canUnloadNow && server.canUnloadNow() == S_OK;
        if (!idle) {
            server.idleSince.reset();
            ++it;
            continue;
        }
        if (!server.idleSince) server.idleSince = now;
        const bool longEnough = now - std::max(*server.idleSince, server.lastAcquired) >= delay;
        it = longEnough ? servers_.erase(it) : std::next(it);
    }
}

}  // namespace platform
