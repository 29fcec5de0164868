#include "installer/VlcLibraryProbe.h"

#include <filesystem>

#include "engine/util/path_utils.h"
#include "engine/vlc/VlcLib.h"
#include "installer/InstallerLog.h"

namespace hollarin {

void DeletePluginFiles(const std::string& dir) {
    if (dir.empty()) return;
    const std::string plugins = engine::IncludeTrailingPathDelimiter(dir) + engine::kVlcPluginFolderName + "/";
    for (const char* name : kUnwantedPluginFiles) {
        std::error_code ec;
        if (std::filesystem::remove(plugins + name, ec) || !ec) continue;
        InstallerLog("libvlc: " + dir, "cannot delete " + plugins + name + ": " + ec.message());
    }
}

TVlcProbe ProbeVlcLibrary(TInstallerVlcLib& binding, const std::string& libVlcDir, std::string_view wantedVersion) {
    TVlcProbe probe;
    binding.SetVlcLibPath(libVlcDir);
    if (binding.LoadVlcFunctions() != 0) return probe;
    probe.Loaded = true;
    probe.Version = VersionCheck(binding.GetLibVlcVersion(), wantedVersion);
    DeletePluginFiles(libVlcDir);
    return probe;
}

}  // namespace hollarin
