// The install step after a finished extraction: the release's libVLC files (both libraries, COPYING.txt,
// README.txt and the plugins folder) from <unzip folder>/vlc-<version>/ replace the target folder's,
// and the new library is loaded to confirm its version.
//
// Only a folder that holds nothing but an install's items may be replaced (InstallTarget.h); any other
// is refused and left as it was. The target folder is replaced as a whole, and only once the new one
// is complete: the files are copied into a fresh folder beside the target, which then takes the
// target's place by renaming; of the old folder only the install's items are deleted. An archive
// without the release, or a copy that fails, leaves the target folder as it was.
// Runs on the user-interface thread, like the binding it unloads and loads again.
#pragma once

#include <string>

#include "installer/InstallerVlcLib.h"
#include "installer/VlcLibraryProbe.h"

namespace hollarin {

enum class TInstallStatus {
    Installed,       // the target folder holds the release's files now
    TargetRefused,   // the target may not be replaced (Refusal says why): nothing was touched
    NoRelease,       // no release of the wanted version in the extracted archive: nothing was touched
    CopyFailed,      // a library or the plugins could not be copied: the target stays as it was
    ReplaceFailed,   // the new folder could not take the target's place: the target stays as it was
};

struct TInstallResult {
    TInstallStatus Status = TInstallStatus::TargetRefused;
    std::string Refusal;  // with TargetRefused: why, in words for the user
    // The load after the step (made whenever libVLC was unloaded for it): when Probe.Loaded the window
    // shows Probe.Version and lights the LED; otherwise it keeps its state.
    TVlcProbe Probe;
};

// Files of the release copied when present; a missing or failed one does not stop the install.
constexpr const char* kReleaseDocumentFiles[] = {"COPYING.txt", "README.txt"};

class TLibraryInstall {
public:
    TLibraryInstall(TInstallerVlcLib& binding, std::string unzipDir, std::string libVlcDir, std::string wantedVersion);

    TInstallResult Run();

private:
    bool HasRelease() const;
    // Unloads libVLC and makes the fresh, empty folder beside the target that the copies go into.
    bool PrepareTargetDir();
    bool CopyRelease();
    // Installed, TargetRefused (something came into the target meanwhile) or ReplaceFailed.
    TInstallStatus ReplaceTarget(std::string* refusal);
    void DropStaging() const;
    std::string LogName() const { return "install: " + libVlcDir_; }

    TInstallerVlcLib& binding_;
    const std::string source_;     // <unzip folder>/vlc-<version>/
    const std::string libVlcDir_;  // as named, with a trailing "/" when it is not empty
    const std::string wantedVersion_;
    std::string staging_;          // with a trailing "/"
};

}  // namespace hollarin
