// Loading the libVLC of a library folder to learn its version, as the install window does when it is
// created and the install step does when it has replaced the folder.
#pragma once

#include <string>
#include <string_view>

#include "installer/InstallerVlcLib.h"
#include "installer/VlcVersionCheck.h"

namespace hollarin {

// Plugins of the release that the installer removes from a library folder once it has loaded it.
constexpr const char* kUnwantedPluginFiles[] = {"liblua_plugin.so", "libfluidsynth_plugin.so"};

// Deletes the unwanted plugin files from dir + "plugins/" where they exist. An empty dir names no
// folder: nothing is deleted (never below the current folder).
void DeletePluginFiles(const std::string& dir);

struct TVlcProbe {
    bool Loaded = false;   // the libraries loaded and every entry point resolved
    TVersionCheck Version; // meaningful only when Loaded
};

// SetVlcLibPath(libVlcDir) and LoadVlcFunctions; when that succeeds, the version check against
// wantedVersion and DeletePluginFiles(libVlcDir). A failed load leaves everything as it was.
TVlcProbe ProbeVlcLibrary(TInstallerVlcLib& binding, const std::string& libVlcDir, std::string_view wantedVersion);

}  // namespace hollarin
