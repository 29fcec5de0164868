// Pruning of the snapshot archive: each sub-folder of the archive folder is cut down, oldest files
// first, to a total size or to a number of files. Files directly in the archive folder and deeper
// folders are never touched; links are never followed (a linked sub-folder is skipped, a link found
// as a file is removed itself, never what it points to).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

// ArchiveSize counts in these units.
constexpr uint64_t kArchiveSizeUnitBytes = 1000ull * 1000ull;

struct TArchiveLimits {
    uint8_t Kind = 0;         // ArchiveLimit: 0 none, 1 by size, 2 by count
    int32_t SizeUnits = 0;    // ArchiveSize
    int32_t FileCount = 0;    // ArchiveFile
};

struct TArchivePruneResult {
    int DeletedFiles = 0;
    // One line per file that could not be deleted (its folder's pruning then ends for this pass) or
    // per archive folder that is refused.
    std::vector<std::string> Problems;
};

// Why archiveDir may not be pruned: it is no real folder (missing, or a link), or it is the root or
// the home folder, whose sub-folders are no archive. "" when it may be.
std::string ArchiveFolderRefusal(const std::string& archiveDir);

TArchivePruneResult PruneArchive(const std::string& archiveDir, const TArchiveLimits& limits);

}  // namespace app
