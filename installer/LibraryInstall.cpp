#include "installer/LibraryInstall.h"

#include <filesystem>

#include "engine/util/atomic_file.h"
#include "engine/util/folder_ops.h"
#include "engine/util/path_utils.h"
#include "installer/DownloadNaming.h"
#include "installer/InstallTarget.h"
#include "installer/InstallerLog.h"
#include "platform/util/file_checks.h"

namespace fs = std::filesystem;

namespace hollarin {
TLibraryInstall::TLibraryInstall(TInstallerVlcLib& binding, std::string unzipDir, std::string libVlcDir,
                                 std::string wantedVersion)
    : binding_(binding),
      source_(ReleaseSourceFolder(unzipDir, wantedVersion)),
      libVlcDir_(libVlcDir.empty() ? std::string() : engine::IncludeTrailingPathDelimiter(libVlcDir)),
      wantedVersion_(std::move(wantedVersion)) {}

bool TLibraryInstall::HasRelease() const {
    return IsUsableVlcVersion(wantedVersion_) && platform::IsFile(source_ + engine::kVlcCoreLibraryFile) &&
           platform::IsFile(source_ + engine::kVlcLibraryFile) &&
           platform::IsFolder(source_ + engine::kVlcPluginFolderName);
}

TInstallResult TLibraryInstall::Run() {
    TInstallResult result;
    result.Refusal = InstallTargetRefusal(libVlcDir_);
    if (!result.Refusal.empty()) {
        InstallerLog("install",
                     "library folder \"" + libVlcDir_ + "\" refused: " + result.Refusal + "; nothing installed");
        result.Status = TInstallStatus::TargetRefused;
        return result;
    }
    if (!HasRelease()) {
        InstallerLog(LogName(), "no libVLC release in " + source_ + ": the folder stays as it was");
        result.Status = TInstallStatus::NoRelease;
        return result;
    }
    if (!PrepareTargetDir() || !CopyRelease()) {
        DropStaging();
        result.Status = TInstallStatus::CopyFailed;
    } else {
        result.Status = ReplaceTarget(&result.Refusal);
        if (result.Status != TInstallStatus::Installed) DropStaging();
    }
    if (result.Status == TInstallStatus::Installed)
        InstallerLog(LogName(), "libVLC " + wantedVersion_ + " installed from " + source_);
    // libVLC was unloaded for the step: load what the folder holds now (the new library or the old one).
    result.Probe = ProbeVlcLibrary(binding_, libVlcDir_, wantedVersion_);
    return result;
}

bool TLibraryInstall::PrepareTargetDir() {
    binding_.UnloadVlcLibraries();
    const fs::path target(engine::ExcludeTrailingPathDelimiter(libVlcDir_));
    const std::string staging = engine::TemporaryNameFor(target.string());
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    // A folder of that name that was there already is not ours to fill.
    if (!fs::create_directory(staging, ec)) {
        InstallerLog(LogName(), "cannot create " + staging + (ec ? ": " + ec.message() : ": it exists already"));
        return false;
    }
    staging_ = engine::IncludeTrailingPathDelimiter(staging);
    return true;
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
        if (platform::IsFile(source_ + document)) fs::copy_file(source_ + document, staging_ + document, ec);
        if (ec) InstallerLog(LogName(), "cannot copy " + source_ + document + ": " + ec.message());
    }
    // Without a trailing "/" the folder itself is copied: it arrives as staging + "plugins/".
    if (engine::CopyFolder(source_ + engine::kVlcPluginFolderName, staging_)) return true;
    InstallerLog(LogName(), "cannot copy " + source_ + engine::kVlcPluginFolderName);
    return false;
}

TInstallStatus TLibraryInstall::ReplaceTarget(std::string* refusal) {
    const std::string target = engine::ExcludeTrailingPathDelimiter(libVlcDir_);
    const std::string staging = engine::ExcludeTrailingPathDelimiter(staging_);
    std::error_code ec;
    std::string old;
    if (fs::exists(fs::symlink_status(target, ec))) {
        old = engine::TemporaryNameFor(target);
        fs::rename(target, old, ec);
        if (ec) {
            InstallerLog(LogName(), "cannot move the old folder aside: " + ec.message());
            return TInstallStatus::ReplaceFailed;
        }
        // Something may have come into the folder since it was looked at: then it goes back as it was.
        *refusal = InstallTargetRefusal(old);
        if (!refusal->empty()) {
            std::error_code back;
            fs::rename(old, target, back);
            InstallerLog(LogName(),
                         "refused: " + *refusal + (back ? "; it stays as " + old + ": " + back.message() : ""));
            return TInstallStatus::TargetRefused;
        }
    }
    fs::rename(staging, target, ec);
    if (ec) {
        InstallerLog(LogName(), "cannot put the new folder in place: " + ec.message());
        std::error_code back;
        if (!old.empty()) fs::rename(old, target, back);
        if (back) InstallerLog(LogName(), "the old folder stays as " + old + ": " + back.message());
        return TInstallStatus::ReplaceFailed;
    }
    if (!old.empty() && !RemoveInstallItems(old)) InstallerLog(LogName(), "the old folder stays as " + old);
    return TInstallStatus::Installed;
}

void TLibraryInstall::DropStaging() const {
    // The staging folder is this step's own, fresh and private: everything in it may go.
    if (!staging_.empty() && platform::IsFolder(staging_) && !engine::DeleteFolder(staging_))
        InstallerLog(LogName(), "cannot delete " + staging_);
}

}  // namespace hollarin
