#include "engine/util/free_space.h"

#include <sys/statvfs.h>

#include <mutex>

namespace engine {

std::optional<uint64_t> TStatvfsFreeSpace::FreeBytes(const std::string& path) {
    struct statvfs st {};
    if (path.empty() || ::statvfs(path.c_str(), &st) != 0) return std::nullopt;
    return static_cast<uint64_t>(st.f_bavail) * static_cast<uint64_t>(st.f_frsize);
}

namespace {
std::mutex g_queryMutex;
std::shared_ptr<IFreeSpaceQuery> g_query;
}  // namespace

std::shared_ptr<IFreeSpaceQuery> CurrentFreeSpaceQuery() {
    std::lock_guard lock(g_queryMutex);
    if (!g_query) g_query = std::make_shared<TStatvfsFreeSpace>();
    return g_query;
}

void SetCurrentFreeSpaceQuery(std::shared_ptr<IFreeSpaceQuery> query) {
    std::lock_guard lock(g_queryMutex);
    g_query = std::move(query);
}

}  // namespace engine
