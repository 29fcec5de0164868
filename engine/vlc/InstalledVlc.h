// The installed libVLC (the system's package) and the copy of it into the program's library folder,
// made when that folder holds no usable library.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace engine {

struct TInstalledVlc {
    std::string LibraryFolder;  // holds libvlccore and libvlc, with a trailing "/"
    std::string PluginFolder;   // the "plugins" folder of that libVLC, without a trailing "/"
};

// The system library folders searched for an installed libVLC, most specific first.
const std::vector<std::string>& SystemVlcLibraryFolders();

// The first folder that holds both libraries and a "vlc/plugins" folder beside them.
std::optional<TInstalledVlc> FindInstalledVlc(const std::vector<std::string>& libraryFolders = SystemVlcLibraryFolders());

// Copies both libraries and the "plugins" folder (as "plugins/" with everything in it) into libDir,
// creating it, overwriting what is there. Libraries are written to a temporary name and renamed, so a
// library that is still mapped is never changed under its user. False (with *error) on any failure.
bool CopyInstalledVlc(const TInstalledVlc& vlc, const std::string& libDir, std::string* error = nullptr);

}  // namespace engine
