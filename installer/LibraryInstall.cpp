#include "installer/LibraryInstall.h"

#include <filesystem>

#include "engine/util/atomic_file.h"
#include "engine/util/folder_ops.h"
#include "engine/util/path_utils.h"
#include "installer/DownloadNaming.h"
#include "installer/InstallerLog.h"

namespace fs = std::filesystem;

namespace hollarin {
namespace {

// An absolute folder path that names a folder below "/" ("/opt/app/LIB_VLC/"); "" otherwise.
std::string UsableTargetFolder(const std::string& dir) {
    const std::string folder = engine::ExcludeTrailingPathDelimiter(dir);
    if (folder.empty() || folder.front() != '/' || engine::ExtractFileName(folder).empty()) return {};
    return engine::IncludeTrailingPathDelimiter(folder);
}

// Something other than a folder (or a link to one) has the folder's name.
bool IsTakenByAFile(const std::string& folder) {
    std::error_code ec;
    const fs::path plain(engine::ExcludeTrailingPathDelimiter(folder));
    return fs::exists(fs::symlink_status(plain, ec)) && !fs::is_directory(plain, ec);
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

}  // namespace

TLibraryInstall::TLibraryInstall(TInstallerVlcLib& binding, std::string unzipDir, std::string libVlcDir,
                                 std::string wantedVersion)
    : binding_(binding),
      source_(ReleaseSourceFolder(unzipDir, wantedVersion)),
      libVlcDir_(UsableTargetFolder(libVlcDir)),
      wantedVersion_(std::move(wantedVersion)) {}

bool TLibraryInstall::HasRelease() const {
    return IsUsableVlcVersion(wantedVersion_) && IsFile(source_ + engine::kVlcCoreLibraryFile) &&
           IsFile(source_ + engine::kVlcLibraryFile) && IsFolder(source_ + engine::kVlcPluginFolderName);
}

TInstallResult TLibraryInstall::Run() {
    TInstallResult result;
    if (libVlcDir_.empty() || IsTakenByAFile(libVlcDir_)) {
        InstallerLog("install", "no usable target folder \"" + libVlcDir_ + "\": nothing installed");
        result.Status = TInstallStatus::NoTargetFolder;
        return result;
    }
    if (!HasRelease()) {
        InstallerLog(LogName(), "no libVLC release in " + source_ + ": the folder stays as it was");
        result.Status = TInstallStatus::NoRelease;
        return result;
    }
    if (!PrepareTargetDir() || !CopyRelease()) {
        DropFolder(staging_);
        result.Status = TInstallStatus::CopyFailed;
    } else if (!ReplaceTarget()) {
        DropFolder(staging_);
        result.Status = TInstallStatus::ReplaceFailed;
    } else {
        InstallerLog(LogName(), "libVLC " + wantedVersion_ + " installed from " + source_);
        result.Status = TInstallStatus::Installed;
    }
    // libVLC was unloaded for the step: load what the folder holds now (the new library or the old one).
    result.Probe = ProbeVlcLibrary(binding_, libVlcDir_, wantedVersion_);
    return result;
}

bool TLibraryInstall::PrepareTargetDir() {
    binding_.UnloadVlcLibraries();
    staging_ = engine::IncludeTrailingPathDelimiter(engine::TemporaryNameFor(engine::ExcludeTrailingPathDelimiter(libVlcDir_)));
    std::error_code ec;
    fs::create_directories(staging_, ec);
    if (IsFolder(staging_)) return true;
    InstallerLog(LogName(), "cannot create " + staging_ + ": " + ec.message());
    return false;
}

bool TLibraryInstall::CopyRelease() {
    for (const char* library : {engine::kVlcCoreLibraryFile, engine::kVlcLibraryFile}) {
        std::error_code ec;
        fs::copy_file(source_ + library, staging_ + library, ec);
        if (ec) {
            InstallerLog(LogName(), "cannot copy " + source_ + library + ": " + ec.message());
            return false;
        }
    }
    for (const char* document : kReleaseDocumentFiles) {
        std::error_code ec;
        if (IsFile(source_ + document)) fs::copy_file(source_ + document, staging_ + document, ec);
        if (ec) InstallerLog(LogName(), "cannot copy " + source_ + document + ": " + ec.message());
    }
    // Without a trailing "/" the folder itself is copied: it arrives as staging + "plugins/".
    if (engine::CopyFolder(source_ + engine::kVlcPluginFolderName, staging_)) return true;
    InstallerLog(LogName(), "cannot copy " + source_ + engine::kVlcPluginFolderName);
    return false;
}

bool TLibraryInstall::ReplaceTarget() {
    const std::string target = engine::ExcludeTrailingPathDelimiter(libVlcDir_);
    const std::string staging = engine::ExcludeTrailingPathDelimiter(staging_);
    std::error_code ec;
    std::string old;
    if (fs::exists(fs::symlink_status(target, ec))) {
        old = engine::TemporaryNameFor(target);
        fs::rename(target, old, ec);
        if (ec) {
            InstallerLog(LogName(), "cannot move the old folder aside: " + ec.message());
            return false;
        }
    }
    fs::rename(staging, target, ec);
    if (ec) {
        InstallerLog(LogName(), "cannot put the new folder in place: " + ec.message());
        std::error_code back;
        if (!old.empty()) fs::rename(old, target, back);
        if (back) InstallerLog(LogName(), "the old folder stays as " + old + ": " + back.message());
        return false;
    }
    DropFolder(old);
    return true;
}

void TLibraryInstall::DropFolder(const std::string& folder) const {
    if (folder.empty()) return;
    std::error_code ec;
    // A target that was a link to a folder: only the link goes, never what it pointed to.
    if (fs::is_symlink(engine::ExcludeTrailingPathDelimiter(folder), ec)) {
        fs::remove(engine::ExcludeTrailingPathDelimiter(folder), ec);
        return;
    }
    if (IsFolder(folder) && !engine::DeleteFolder(folder)) InstallerLog(LogName(), "cannot delete " + folder);
}

}  // namespace hollarin
