// Which library folder an install may replace. An install puts the two libraries, COPYING.txt,
// README.txt and the plugins folder (libVLC's plug-ins and their cache, nothing else) there (and the
// window's write test may leave its file); a folder
// that holds anything else is someone's own folder: it is refused and never moved, emptied or deleted.
// So are "/", the home folder, a relative path, a link and a name taken by something other than a
// folder. A folder that does not exist yet may be made.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hollarin {

// The window's write test: a file of this name holding exactly this text.
constexpr const char* kWriteTestFile = "test.txt";
constexpr const char* kWriteTestText = "writing test\n";

// What libVLC keeps in its plug-in folder: plug-ins named lib<name>_plugin.so and its plug-in cache.
constexpr std::string_view kPluginFilePrefix = "lib";
constexpr std::string_view kPluginFileSuffix = "_plugin.so";
constexpr const char* kPluginCacheFile = "plugins.dat";

// One entry of a library folder that an install put there (not followed when it is a link).
bool IsInstallItem(const std::filesystem::directory_entry& entry);

// Why folder may not be replaced by an install, in words for the user ("it is the home folder");
// empty when it may.
std::string InstallTargetRefusal(const std::string& folder);

// Deletes the install's items from folder (links themselves, never what they point to), then the
// folder when that left it empty. Anything else stays where it is, and so does the folder then.
// True when the folder is gone.
bool RemoveInstallItems(const std::string& folder);

}  // namespace hollarin
