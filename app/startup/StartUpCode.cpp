#include "app/startup/StartUpCode.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <cstdint>
#include <system_error>

#include "app/settings/app_globals.h"
#include "app/settings/data_folder.h"
#include "app/settings/default_settings.h"
#include "app/startup/InstanceIndex.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/path_utils.h"
#include "platform/com/com.h"

namespace fs = std::filesystem;

namespace app {

namespace {

void CreateFolder(const std::string& folder, std::vector<std::string>* failures) {
    if (folder.empty()) return;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) {
        if (failures) failures->push_back("cannot create folder " + folder + " : " + ec.message());
    }
}

}  // namespace

TAppPaths SetUpPathsAndFolders(const std::string& dataFolder, const std::string& programFolder,
                               const std::string& installFolder, std::vector<std::string>* failures) {
    TAppPaths paths = MakeAppPaths(dataFolder, programFolder, installFolder);
    SetAppPaths(paths);
    // Until the ini file is read, the settings in use are the defaults of these folders.
    engine::PublishSettings(DefaultSettings(paths));
    // A data folder of "" means the current folder: the default folders are then relative to it too.
    for (const std::string* folder : {&paths.LibVlcDir, &paths.DefaultLogDir, &paths.DefaultHtmlDir, &paths.DefaultArchiveDir})
        CreateFolder(*folder, failures);
    return paths;
}

void SeedRandomFromClock() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    std::srand(static_cast<unsigned>(ticks) ^ static_cast<unsigned>(static_cast<uint64_t>(ticks) >> 32));
}

TStartUpCode::TStartUpCode(const std::vector<std::string>& arguments) {
    comInitialized_ = CoInitialize() >= 0;
    InstanceIndex = GetInstanceIndex(arguments);
    InitLocaleSettings();
    // The data folder depends on the instance, so it is asked for only now.
    SetUpPathsAndFolders(GetDataFolder(), engine::ProgramFolder(), GetInstallFolder(), &folderFailures_);
    SeedRandomFromClock();
    engine::GlobalLock();  // made now, before any thread could race to make it
}

TStartUpCode::~TStartUpCode() {
    if (comInitialized_) CoUninitialize();
}

}  // namespace app
