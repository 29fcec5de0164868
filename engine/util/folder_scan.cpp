#include "engine/util/folder_scan.h"

#include <fnmatch.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>

#include "engine/util/path_utils.h"
#include "platform/util/ascii_case.h"

namespace fs = std::filesystem;

namespace engine {

namespace {

struct TScanEntry {
    std::string Name;
    bool Folder = false;  // a real folder, not a link to one
    bool Link = false;
    fs::path Path;
};

// The entries of one folder in name order; none when the folder cannot be read (why in *error).
std::optional<std::vector<TScanEntry>> ReadFolder(const std::string& dir, std::error_code* error = nullptr) {
    std::error_code ec;
    fs::directory_iterator it(fs::path(dir.empty() ? "." : dir), ec), end;
    if (error) *error = ec;
    if (ec) return std::nullopt;
    std::vector<TScanEntry> entries;
    for (; it != end; it.increment(ec)) {
        TScanEntry e;
        e.Path = it->path();
        e.Name = e.Path.filename().string();
        std::error_code typeEc;
        fs::file_status st = it->symlink_status(typeEc);
        e.Link = st.type() == fs::file_type::symlink;
        e.Folder = e.Link ? fs::is_directory(e.Path, typeEc) : st.type() == fs::file_type::directory;
        entries.push_back(std::move(e));
    }
    if (ec) return std::nullopt;
    std::sort(entries.begin(), entries.end(), [](const TScanEntry& a, const TScanEntry& b) { return a.Name < b.Name; });
    return entries;
}

bool IsHidden(const std::string& name) { return !name.empty() && name[0] == '.'; }

// Modification time packed at two-second resolution, as the file times compared here are.
std::optional<int64_t> PackedTime(const fs::path& path) {
    std::error_code ec;
    auto t = fs::last_write_time(path, ec);
    if (ec) return std::nullopt;
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch()).count();
    return seconds >= 0 ? seconds / 2 : (seconds - 1) / 2;
}

// The file that wins by time; a later file replaces the best only when it is strictly better.
std::string PickFile(const std::string& dir, const std::function<bool(const std::string&)>& qualifies,
                     bool newest) {
    std::string best;
    std::optional<int64_t> bestTime;
    auto entries = ReadFolder(IncludeTrailingPathDelimiter(dir));
    if (dir.empty() || !entries) return best;
    for (const auto& e : *entries) {
        if (e.Folder || !qualifies(e.Name)) continue;
        std::optional<int64_t> time = PackedTime(e.Path);
        if (!time) break;  // the scan ends; the name found so far stands
        if (!bestTime || (newest ? *time > *bestTime : *time < *bestTime)) {
            bestTime = time;
            best = e.Name;
        }
    }
    return best;
}

bool Gone(const std::error_code& ec) { return ec == std::errc::no_such_file_or_directory; }

// An entry deleted since its folder was listed (a segment the HLS output dropped) adds nothing; any
// other failure spoils the answer for this folder. A sub-folder that fails adds nothing: its failure
// is its own, and the folders beside it still count.
std::optional<uint64_t> FolderSize(const std::string& dir, bool recursive) {
    std::error_code error;
    auto entries = ReadFolder(dir, &error);
    if (!entries) return Gone(error) ? std::optional<uint64_t>(0) : std::nullopt;
    uint64_t total = 0;
    for (const auto& e : *entries) {
        if (e.Link) continue;  // links add neither their target's size nor its contents
        if (e.Folder) {
            if (!recursive) continue;
            total += FolderSize(IncludeTrailingPathDelimiter(e.Path.string()), true).value_or(0);
            continue;
        }
        std::error_code ec;
        uintmax_t size = fs::file_size(e.Path, ec);
        if (Gone(ec)) continue;
        if (ec) return std::nullopt;
        total += size;
    }
    return total;
}

}  // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
    if (mask == "*.*" || mask == "*") return true;
    return ::fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0;  // hidden names match as any other
}

uint64_t GetFolderSize(const std::string& dir, bool recursive) {
    if (dir.empty()) return 0;
    return FolderSize(IncludeTrailingPathDelimiter(dir), recursive).value_or(0);
}

std::string GetNewestFile(const std::string& dir, const std::string& ext) {
    const std::string wanted = platform::AsciiLower(ext);
    return PickFile(dir, [&](const std::string& name) { return wanted.empty() || platform::AsciiLower(ExtractFileExt(name)) == wanted; },
                    true);
}

std::string GetOldestFile(const std::string& dir) {
    return PickFile(dir, [](const std::string&) { return true; }, false);
}

int CountFiles(const std::string& mask, const std::string& dir) {
    auto entries = ReadFolder(IncludeTrailingPathDelimiter(dir));
    if (!entries) return 0;
    return static_cast<int>(std::count_if(entries->begin(), entries->end(),
                                          [&](const TScanEntry& e) { return !e.Folder && MatchesMask(e.Name, mask); }));
}

void ListFiles(const std::string& dir, const std::string& mask, std::vector<std::string>& list, bool recursive) {
    const std::string folder = IncludeTrailingPathDelimiter(dir);
    auto entries = ReadFolder(folder);
    if (!entries) return;
    for (const auto& e : *entries)
        if (!e.Folder && MatchesMask(e.Name, mask)) list.push_back(folder + e.Name);
    if (!recursive) return;
    for (const auto& e : *entries)
        if (e.Folder && !e.Link && !IsHidden(e.Name)) ListFiles(folder + e.Name, mask, list, true);
}

void ListSubFolders(const std::string& dir, std::vector<std::string>& list, bool fullPath) {
    const std::string folder = IncludeTrailingPathDelimiter(dir);
    auto entries = ReadFolder(folder);
    if (!entries) return;
    for (const auto& e : *entries)
        if (e.Folder && !IsHidden(e.Name)) list.push_back(fullPath ? folder + e.Name : e.Name);
}

}  // namespace engine
