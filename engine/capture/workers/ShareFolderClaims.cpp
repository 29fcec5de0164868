#include "engine/capture/workers/ShareFolderClaims.h"

#include <filesystem>
#include <mutex>
#include <unordered_map>

#include "engine/util/folder_ops.h"
#include "engine/util/path_utils.h"

namespace engine {

namespace {

struct TClaimTable {
    std::mutex mutex;
    std::unordered_map<std::string, TFolderClaim> newest;  // by normalised folder
    TFolderClaim last = 0;
};

TClaimTable& Claims() {
    static auto* table = new TClaimTable;  // workers may still end during static destruction
    return *table;
}

// "a/b/", "a/b" and "a/./b/" name one folder.
std::string FolderKey(const std::string& folder) {
    return ExcludeTrailingPathDelimiter(std::filesystem::path(folder).lexically_normal().string());
}

}  // namespace

TFolderClaim ClaimShareFolder(const std::string& folder) {
    TClaimTable& table = Claims();
    std::lock_guard lock(table.mutex);
    TFolderClaim claim = ++table.last;
    table.newest[FolderKey(folder)] = claim;
    return claim;
}

bool IsNewestFolderClaim(const std::string& folder, TFolderClaim claim) {
    TClaimTable& table = Claims();
    std::lock_guard lock(table.mutex);
    auto it = table.newest.find(FolderKey(folder));
    return it != table.newest.end() && it->second == claim;
}

bool DeleteFolderIfNewestClaim(const std::string& folder, TFolderClaim claim) {
    TClaimTable& table = Claims();
    std::lock_guard lock(table.mutex);
    auto it = table.newest.find(FolderKey(folder));
    if (it == table.newest.end() || it->second != claim) return false;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return false;
    return DeleteFolder(folder);
}

}  // namespace engine
