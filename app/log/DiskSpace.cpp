#include "app/log/DiskSpace.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace app {

namespace {

// The folder itself, else its nearest parent that exists: the drive is there even when the folder
// is not (yet).
std::string ExistingFolderOrParent(const std::string& folder) {
    fs::path path = folder.empty() ? fs::path(".") : fs::path(folder);
    std::error_code ec;
    while (!fs::exists(path, ec) && path.has_relative_path()) path = path.parent_path();
    return path.empty() ? std::string(".") : path.string();
}

}  // namespace

std::optional<int64_t> FreeGigabytes(engine::IFreeSpaceQuery& query, const std::string& folder) {
    std::optional<uint64_t> bytes = query.FreeBytes(ExistingFolderOrParent(folder));
    if (!bytes) return std::nullopt;
    return static_cast<int64_t>(*bytes / kBytesPerGigabyte);
}

}  // namespace app
