#include "installer/InstallTarget.h"

#include <fstream>

#include "engine/util/folder_ops.h"
#include "engine/util/path_utils.h"
#include "engine/vlc/VlcLib.h"
#include "installer/LibraryInstall.h"

namespace fs = std::filesystem;

namespace hollarin {
namespace {

bool HoldsExactly(const fs::path& file, const std::string& text) {
    std::ifstream in(file, std::ios::binary);
    std::string content;
    // One byte more than expected is enough to tell.
    content.resize(text.size() + 1);
    in.read(content.data(), std::streamsize(content.size()));
    content.resize(size_t(in.gcount()));
    return content == text;
}

bool IsPluginFileName(const std::string& name) {
    return name.size() > kPluginFilePrefix.size() + kPluginFileSuffix.size() && name.starts_with(kPluginFilePrefix) &&
           name.ends_with(kPluginFileSuffix);
}

// A plug-in (a file or a link, never a folder) under a plug-in's name.
bool IsPluginFile(const std::string& name, fs::file_type type) {
    return IsPluginFileName(name) && (type == fs::file_type::regular || type == fs::file_type::symlink);
}

// Nothing but plug-ins in one category folder of the plug-in folder.
bool HoldsOnlyPluginFiles(const fs::path& category) {
    std::error_code ec;
    fs::directory_iterator it(category, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec))
        if (!IsPluginFile(it->path().filename().string(), it->symlink_status(ec).type()) || ec) return false;
    return !ec;
}

// The plug-in folder as libVLC lays it out: plug-ins directly in it or in its category folders one
// level down, and the plug-in cache. Anything else makes it someone's own folder.
bool HoldsOnlyVlcPlugins(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const fs::file_type type = it->symlink_status(ec).type();
        if (ec) return false;
        if (IsPluginFile(name, type)) continue;
        if (name == kPluginCacheFile && type == fs::file_type::regular) continue;
        if (type == fs::file_type::directory && HoldsOnlyPluginFiles(it->path())) continue;
        return false;
    }
    return !ec;
}

}  // namespace

bool IsInstallItem(const fs::directory_entry& entry) {
    std::error_code ec;
    const fs::file_type type = entry.symlink_status(ec).type();
    if (ec) return false;
    const std::string name = entry.path().filename().string();
    if (name == engine::kVlcPluginFolderName)
        // A link goes without what it points to; a folder only when it is the install's.
        return type == fs::file_type::symlink || (type == fs::file_type::directory && HoldsOnlyVlcPlugins(entry.path()));
    // A folder under a file's name may hold anything: it is not the install's.
    if (name == engine::kVlcCoreLibraryFile || name == engine::kVlcLibraryFile) return type != fs::file_type::directory;
    for (const char* document : kReleaseDocumentFiles)
        if (name == document) return type != fs::file_type::directory;
    if (name == kWriteTestFile) return type == fs::file_type::regular && HoldsExactly(entry.path(), kWriteTestText);
    return false;
}

std::string InstallTargetRefusal(const std::string& folder) {
    if (folder.empty()) return "no library folder was named (-dd)";
    const fs::path path(engine::ExcludeTrailingPathDelimiter(folder));
    if (!path.is_absolute()) return "it is not an absolute path";
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (status.type() == fs::file_type::not_found) return "";  // made when the install puts it in place
    if (ec) return "it cannot be examined: " + ec.message();
    if (const std::string refusal = engine::FolderTouchRefusal(folder); !refusal.empty()) return refusal;
    fs::directory_iterator it(path, ec);
    if (ec) return "its contents cannot be read: " + ec.message();
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (IsInstallItem(*it)) continue;
        const std::string name = it->path().filename().string();
        if (name == engine::kVlcPluginFolderName && it->is_directory(ec))
            return "its \"" + name + "\" folder holds more than libVLC's plug-ins";
        return "it holds \"" + name + "\", which is not part of a libVLC installation";
    }
    if (ec) return "its contents cannot be read: " + ec.message();
    return "";
}

bool RemoveInstallItems(const std::string& folder) {
    const fs::path path(engine::ExcludeTrailingPathDelimiter(folder));
    std::error_code ec;
    for (fs::directory_iterator it(path, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code removeEc;
        // remove_all deletes a link itself, never what it points to.
        if (IsInstallItem(*it)) fs::remove_all(it->path(), removeEc);
    }
    fs::remove(path, ec);  // only an empty folder goes
    return !fs::exists(fs::symlink_status(path, ec));
}

}  // namespace hollarin
