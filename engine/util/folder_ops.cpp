#include "engine/util/folder_ops.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "engine/util/path_utils.h"

namespace fs = std::filesystem;

namespace engine {

std::string FolderTouchRefusal(const std::string& dir) {
    if (dir.empty()) return "no folder named";
    std::error_code ec;
    const fs::path plain(ExcludeTrailingPathDelimiter(dir));
    const fs::file_status st = fs::symlink_status(plain, ec);
    if (st.type() == fs::file_type::symlink) return "it is a link";
    if (ec || st.type() != fs::file_type::directory) return "it is no folder";
    const fs::path canonical = fs::canonical(plain, ec);
    if (ec) return "it cannot be resolved : " + ec.message();
    if (canonical == canonical.root_path()) return "it is the root folder";
    if (const char* home = std::getenv("HOME"); home && *home) {
        const fs::path homeCanonical = fs::weakly_canonical(home, ec);
        if (!ec && canonical == homeCanonical) return "it is the home folder";
    }
    return "";
}

namespace {

bool IsFolderWeMayTouch(const std::string& dir) { return FolderTouchRefusal(dir).empty(); }

// Removes every entry inside dir without following links; false when any entry stays.
bool RemoveContents(const fs::path& dir) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    if (ec) return false;
    bool allGone = true;
    for (; it != end; it.increment(ec)) {
        // remove_all deletes a link itself, never what it points to.
        std::error_code removeEc;
        fs::remove_all(it->path(), removeEc);
        if (removeEc) allGone = false;
    }
    return !ec && allGone;
}

}  // namespace

bool CopyFolder(const std::string& source, const std::string& dest) {
    std::error_code ec;
    fs::path from(ExcludeTrailingPathDelimiter(source));
    if (source.empty() || !fs::is_directory(from, ec)) return false;
    fs::path to(ExcludeTrailingPathDelimiter(dest));
    if (dest.empty()) return false;
    // A destination inside the source would copy itself without end.
    fs::path fromCanonical = fs::canonical(from, ec);
    if (ec) return false;
    fs::path toCanonical = fs::weakly_canonical(to, ec);
    if (ec) return false;
    auto [fromEnd, toEnd] = std::mismatch(fromCanonical.begin(), fromCanonical.end(), toCanonical.begin(), toCanonical.end());
    if (fromEnd == fromCanonical.end()) return false;
    fs::create_directories(to, ec);
    if (ec || !fs::is_directory(to, ec)) return false;

    if (!HasTrailingPathDelimiter(source)) to /= from.filename();
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing | fs::copy_options::copy_symlinks;
    fs::copy(from, to, options, ec);
    return !ec;
}

bool DeleteFolder(const std::string& dir) {
    if (!IsFolderWeMayTouch(dir)) return false;
    fs::path folder(ExcludeTrailingPathDelimiter(dir));
    if (!RemoveContents(folder)) return false;
    std::error_code ec;
    fs::remove(folder, ec);  // the emptied folder may be in use; the contents are gone either way
    return true;
}

bool ClearFolder(const std::string& dir) {
    if (!IsFolderWeMayTouch(dir)) return false;
    return RemoveContents(fs::path(ExcludeTrailingPathDelimiter(dir)));
}

}  // namespace engine
