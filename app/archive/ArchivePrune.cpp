#include "app/archive/ArchivePrune.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/settings/settings.h"
#include "engine/util/folder_ops.h"
#include "engine/util/folder_scan.h"
#include "engine/util/path_utils.h"

namespace fs = std::filesystem;

namespace app {

namespace {

bool IsLink(const std::string& path) {
    std::error_code ec;
    return fs::symlink_status(engine::ExcludeTrailingPathDelimiter(path), ec).type() == fs::file_type::symlink;
}

// Deletes the oldest file of dir; false when it holds no file or the file would not go.
bool DeleteOldestFile(const std::string& dir, TArchivePruneResult& result) {
    const std::string name = engine::GetOldestFile(dir);
    if (name.empty()) return false;
    const std::string path = dir + name;
    std::error_code ec;
    if (!fs::remove(path, ec) || ec) {  // remove takes a link itself
        result.Problems.push_back(path + " cannot be deleted : " + (ec ? ec.message() : "it is gone"));
        return false;
    }
    ++result.DeletedFiles;
    return true;
}

void PruneByCount(const std::string& dir, int32_t limit, TArchivePruneResult& result) {
    for (int count = engine::CountFiles("*.*", dir); count > limit && count > 0; --count)
        if (!DeleteOldestFile(dir, result)) return;
}

void PruneBySize(const std::string& dir, int32_t limitUnits, TArchivePruneResult& result) {
    while (engine::GetFolderSize(dir, false) / kArchiveSizeUnitBytes > static_cast<uint64_t>(std::max(limitUnits, 0)))
        if (!DeleteOldestFile(dir, result)) return;
}

}  // namespace

std::string ArchiveFolderRefusal(const std::string& archiveDir) {
    if (archiveDir.empty()) return "no archive folder set";
    return engine::FolderTouchRefusal(archiveDir);
}

TArchivePruneResult PruneArchive(const std::string& archiveDir, const TArchiveLimits& limits) {
    TArchivePruneResult result;
    if (limits.Kind != engine::kArchivePruneBySize && limits.Kind != engine::kArchivePruneByCount) return result;
    if (std::string refusal = ArchiveFolderRefusal(archiveDir); !refusal.empty()) {
        result.Problems.push_back(archiveDir + " is not pruned : " + refusal);
        return result;
    }
    std::vector<std::string> subFolders;
    engine::ListSubFolders(archiveDir, subFolders, true);
    for (const std::string& subFolder : subFolders) {
        if (IsLink(subFolder)) continue;
        const std::string dir = engine::IncludeTrailingPathDelimiter(subFolder);
        if (limits.Kind == engine::kArchivePruneByCount) PruneByCount(dir, limits.FileCount, result);
        else PruneBySize(dir, limits.SizeUnits, result);
    }
    return result;
}

}  // namespace app
