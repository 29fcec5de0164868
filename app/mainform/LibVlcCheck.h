// The first showing's libVLC check: the library in the program's library folder is used when its
// version is the preferred one (or the user accepts the other one); otherwise the installed libVLC is
// copied into that folder; failing that, the download through the library installer is offered once.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/mainform/MainFormDialogs.h"
#include "engine/vlc/InstalledVlc.h"
#include "platform/process/ProcessStarter.h"

namespace app {

inline constexpr const char* kInstallerFileName = "Hollarin";
inline constexpr const char* kInstallerMissingText =
    "VLC-Library Downloader not found !\r\n\r\nFramewick cannot be started !";
inline constexpr const char* kInstallerMissingCaption = "Quillmar Ardenix";
inline constexpr const char* kDownloadOfferText = "Do you want download VLC-Plugin? (necessarry for HLS)";

enum class TLibVlcCheckResult {
    Ready,       // libVLC is loaded from the library folder
    Missing,     // the program runs without libVLC (VlcMissing)
    Unchanged,   // the check failed on the way; VlcMissing stays as it was
    EndProgram,  // the download was accepted: the installer was started (or is missing); end at once
};

struct TLibVlcCheckServices {
    std::function<std::optional<engine::TInstalledVlc>()> FindInstalledVlc = [] { return engine::FindInstalledVlc(); };
    IMainFormDialogs* Dialogs = nullptr;
    platform::IProcessStarter* Starter = nullptr;
    std::string InstallerPath;       // the library installer's program file
    std::function<void()> CloseSplash;
    std::function<void()> ShowWaitForm;
    std::function<void()> CloseWaitForm;
};

class TLibVlcCheck {
public:
    TLibVlcCheck(std::string libDir, TLibVlcCheckServices services);

    // Reads and updates the settings VlcVer and AskForDownload; sets VlcMissing.
    TLibVlcCheckResult Run();

    // StartDownloader: the installer with "-vv" + the required version and "-dd" + the library folder;
    // the missing installer is reported in a message box. False when it was not started.
    bool StartDownloader();

private:
    TLibVlcCheckResult RunSteps();
    // Loads the library of libDir_ and checks its version; false leaves nothing loaded.
    bool UseLibraryFolder();
    // Copies the installed libVLC when its version is the preferred one; true when it is loaded from libDir_.
    bool CopyInstalledLibrary();

    std::string libDir_;
    TLibVlcCheckServices services_;
};

}  // namespace app
