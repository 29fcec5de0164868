#include "engine/capture/broadcast/VlcLibraryCheck.h"

#include <filesystem>
#include <vector>

#include "engine/util/folder_scan.h"
#include "engine/util/path_utils.h"
#include "engine/util/vlc_version.h"
#include "engine/vlc/VlcLib.h"

namespace fs = std::filesystem;

namespace engine {
namespace {

void DeleteCacheFiles(const std::string& folder) {
    std::vector<std::string> files;
    ListFiles(folder, "*.dat", files, false);
    std::error_code ec;
    for (const std::string& file : files) fs::remove(file, ec);
}

}  // namespace

bool TVlcLibraryCheck::CheckVlc(const std::string& capVlcLibPath) {
    const std::string wanted(kRequiredVlcVersion);
    if (preferences_.StorePreferredVersion) preferences_.StorePreferredVersion(wanted);

    vlcOk_ = false;
    SetVlcLibPath(capVlcLibPath);
    if (LoadVlcFunctions() != 0) return false;
    if (versionText_.empty()) {
        versionText_ = GetVlcVersion();
        vlcOk_ = VlcVersionMatches(versionText_, wanted);
    }
    if (vlcOk_) DeleteVlcPluginCache(GetVlcLibPath(), false, preferences_);
    return vlcOk_;
}

void DeleteVlcPluginCache(const std::string& dir, bool force, const TVlcPreferences& preferences) {
    if (dir.empty()) return;
    if (!force && preferences.ClearPluginCache && !preferences.ClearPluginCache()) return;
    const std::string folder = IncludeTrailingPathDelimiter(dir);
    DeleteCacheFiles(folder);
    const std::string plugins = folder + kVlcPluginFolderName;
    std::error_code ec;
    if (!fs::is_symlink(plugins, ec) && fs::is_directory(plugins, ec)) DeleteCacheFiles(IncludeTrailingPathDelimiter(plugins));
}

}  // namespace engine
