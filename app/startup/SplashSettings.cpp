#include "app/startup/SplashSettings.h"

#include "app/settings/app_paths.h"
#include "app/settings/ini_file.h"
#include "common/version_info.h"
#include "engine/util/monitors.h"
#include "engine/util/path_utils.h"

namespace app {

namespace {
constexpr int kDefaultSplashMonitor = 1;
}

int ReadSplashMonitor() {
    return TIniFile(AppPaths()->SplashIniFile).ReadInteger(kSplashSection, kSplashMonitorKey, kDefaultSplashMonitor);
}

bool WriteSplashMonitor(int index, std::string* error) {
    TIniFile ini(AppPaths()->SplashIniFile);
    ini.WriteInteger(kSplashSection, kSplashMonitorKey, index);
    return ini.Save("", error);
}

platform::TPoint SplashOrigin(int width, int height) {
    return engine::GetMonitorCenterPos(ReadSplashMonitor(), width, height);
}

std::string SplashVersionText() {
    TMyFileInfo info;
    ReadVersionInfo(engine::ProgramFilePath(), info);
    return "V " + info.FileVersion;
}

}  // namespace app
