#include "engine/vlc/InstalledVlc.h"

#include <filesystem>

#include "engine/util/atomic_file.h"
#include "engine/util/folder_ops.h"
#include "engine/util/path_utils.h"
#include "engine/vlc/VlcLib.h"

namespace fs = std::filesystem;

namespace engine {
namespace {

bool Fail(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
    return false;
}

bool CopyFileReplacing(const std::string& from, const std::string& to, std::string* error) {
    const std::string temporary = TemporaryNameFor(to);
    std::error_code ec;
    fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(temporary, to, ec);
    if (!ec) return true;
    fs::remove(temporary, ec);
    return Fail(error, "cannot copy " + from + " to " + to);
}

// libVLC's plugin cache is valid only for plugin files of the times it recorded; copies keep them,
// so libVLC does not have to load every plugin to rebuild it.
void KeepModificationTimes(const fs::path& source, const fs::path& copy) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(source, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
        const fs::path target = copy / fs::relative(it->path(), source, ec);
        std::error_code timeError;
        fs::last_write_time(target, fs::last_write_time(it->path(), timeError), timeError);
    }
}

}  // namespace

const std::vector<std::string>& SystemVlcLibraryFolders() {
    static const std::vector<std::string> folders = {"/usr/lib/x86_64-linux-gnu/", "/usr/lib64/", "/usr/lib/",
                                                     "/usr/local/lib/"};
    return folders;
}

std::optional<TInstalledVlc> FindInstalledVlc(const std::vector<std::string>& libraryFolders) {
    for (const std::string& candidate : libraryFolders) {
        const std::string folder = IncludeTrailingPathDelimiter(candidate);
        const std::string plugins = folder + "vlc/" + kVlcPluginFolderName;
        std::error_code ec;
        if (fs::is_regular_file(folder + kVlcCoreLibraryFile, ec) && fs::is_regular_file(folder + kVlcLibraryFile, ec) &&
            fs::is_directory(plugins, ec))
            return TInstalledVlc{folder, plugins};
    }
    return std::nullopt;
}

bool CopyInstalledVlc(const TInstalledVlc& vlc, const std::string& libDir, std::string* error) {
    const std::string target = IncludeTrailingPathDelimiter(libDir);
    std::error_code ec;
    if (target.empty() || (!fs::create_directories(target, ec) && ec)) return Fail(error, "cannot create " + libDir);
    for (const char* library : {kVlcCoreLibraryFile, kVlcLibraryFile})
        if (!CopyFileReplacing(IncludeTrailingPathDelimiter(vlc.LibraryFolder) + library, target + library, error))
            return false;
    // Without a trailing "/" the folder itself is copied, so it arrives as target + "plugins".
    const std::string plugins = ExcludeTrailingPathDelimiter(vlc.PluginFolder);
    if (ExtractFileName(plugins) != kVlcPluginFolderName) return Fail(error, "not a plugins folder: " + plugins);
    if (!CopyFolder(plugins, target)) return Fail(error, "cannot copy " + plugins + " to " + target);
    KeepModificationTimes(plugins, fs::path(target) / kVlcPluginFolderName);
    return true;
}

}  // namespace engine
