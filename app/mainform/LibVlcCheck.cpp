#include "app/mainform/LibVlcCheck.h"

#include <exception>
#include <filesystem>

#include "app/log/LogQueue.h"
#include "engine/settings/log_list.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/path_utils.h"
#include "engine/util/vlc_version.h"
#include "engine/vlc/VlcLib.h"

namespace app {
namespace {

bool HoldsVlcLibraries(const std::string& dir) {
    std::error_code ec;
    const std::string folder = engine::IncludeTrailingPathDelimiter(dir);
    return !dir.empty() && std::filesystem::is_regular_file(folder + engine::kVlcCoreLibraryFile, ec) &&
           std::filesystem::is_regular_file(folder + engine::kVlcLibraryFile, ec);
}

// Loads libVLC from dir; "" (and nothing loaded) when that fails or gives no version word.
std::string LoadVersionFrom(const std::string& dir) {
    engine::UnloadVlcLibraries();
    if (!HoldsVlcLibraries(dir)) return {};
    engine::SetVlcLibPath(dir);
    if (engine::LoadVlcFunctions() != 0) {
        engine::UnloadVlcLibraries();
        return {};
    }
    std::string version = engine::GetVlcVersion();
    if (version.empty()) engine::UnloadVlcLibraries();
    return version;
}

void Call(const std::function<void()>& f) {
    if (f) f();
}

}  // namespace

TLibVlcCheck::TLibVlcCheck(std::string libDir, TLibVlcCheckServices services)
    : libDir_(engine::IncludeTrailingPathDelimiter(libDir)), services_(std::move(services)) {}

TLibVlcCheckResult TLibVlcCheck::Run() {
    try {
        return RunSteps();
    } catch (const std::exception& e) {
        QueueLogEntry(*engine::LogList(), std::string("libVLC check : ") + e.what(), engine::kLogError);
        return TLibVlcCheckResult::Unchanged;
    }
}

TLibVlcCheckResult TLibVlcCheck::RunSteps() {
    if (UseLibraryFolder() || CopyInstalledLibrary()) {
        engine::VlcMissing = false;
        return TLibVlcCheckResult::Ready;
    }
    engine::VlcMissing = false;
    if (engine::Settings()->AskForDownload) {
        engine::UpdateSettings([](engine::TSettings& s) { s.AskForDownload = false; });
        const int answer = services_.Dialogs->Ask(TDialogKind::Confirmation, "Confirmation", kDownloadOfferText, "Yes", "No");
        if (answer == 1) {
            Call(services_.CloseSplash);
            StartDownloader();
            return TLibVlcCheckResult::EndProgram;
        }
    }
    engine::VlcMissing = true;
    return TLibVlcCheckResult::Missing;
}

bool TLibVlcCheck::UseLibraryFolder() {
    const std::string version = LoadVersionFrom(libDir_);
    if (version.empty()) return false;
    const std::string preferred = engine::Settings()->VlcVer;
    if (engine::VlcVersionMatches(version, preferred)) return true;
    const int answer = services_.Dialogs->Ask(
        TDialogKind::Confirmation, "Confirmation",
        "The current VLC Version " + version + " is different from preferred Version " + preferred, "Continue", "Cancel");
    if (answer == 1) {
        engine::UpdateSettings([&version](engine::TSettings& s) { s.VlcVer = version; });
        return true;
    }
    engine::UnloadVlcLibraries();
    return false;
}

bool TLibVlcCheck::CopyInstalledLibrary() {
    const std::optional<engine::TInstalledVlc> installed = services_.FindInstalledVlc();
    std::error_code ec;
    if (!installed || !std::filesystem::is_directory(installed->LibraryFolder, ec)) return false;
    Call(services_.CloseSplash);
    Call(services_.ShowWaitForm);
    bool loaded = false;
    const std::string version = LoadVersionFrom(installed->LibraryFolder);
    const bool usable = !version.empty() && engine::VlcVersionMatches(version, engine::Settings()->VlcVer);
    engine::UnloadVlcLibraries();
    if (usable) {
        std::string error;
        if (engine::CopyInstalledVlc(*installed, libDir_, &error)) {
            loaded = !LoadVersionFrom(libDir_).empty();
            if (!loaded) QueueLogEntry(*engine::LogList(), "libVLC check : the copy in " + libDir_ + " cannot be loaded", engine::kLogError);
        } else {
            QueueLogEntry(*engine::LogList(), "libVLC check : copy into " + libDir_ + " failed - " + error, engine::kLogError);
        }
    }
    Call(services_.CloseWaitForm);
    return loaded;
}

bool TLibVlcCheck::StartDownloader() {
    std::error_code ec;
    if (services_.InstallerPath.empty() || !std::filesystem::is_regular_file(services_.InstallerPath, ec)) {
        services_.Dialogs->Ask(TDialogKind::Information, kInstallerMissingCaption, kInstallerMissingText, "OK", "");
        return false;
    }
    std::string error;
    const bool started = services_.Starter != nullptr &&
                         services_.Starter->StartDetached(services_.InstallerPath,
                                                          {"-vv", std::string(engine::kRequiredVlcVersion), "-dd", libDir_}, &error);
    if (!started) QueueLogEntry(*engine::LogList(), "libVLC check : " + services_.InstallerPath + " cannot be started - " + error, engine::kLogError);
    return started;
}

}  // namespace app
