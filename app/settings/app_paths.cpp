#include "app/settings/app_paths.h"

#include <mutex>

#include "engine/util/path_utils.h"

namespace app {

TAppPaths MakeAppPaths(const std::string& dataFolder, const std::string& programFolder, const std::string& installDir) {
    using engine::IncludeTrailingPathDelimiter;
    TAppPaths p;
    p.DataFolder = IncludeTrailingPathDelimiter(dataFolder);
    p.IniFileName = p.DataFolder + "framewick.ini";
    p.HttpServerListFile = p.DataFolder + "httpserv.xml";
    p.WebSocketListFile = p.DataFolder + "wsocket.xml";
    p.CaptureListFile = p.DataFolder + "capture.xml";
    p.SplashIniFile = p.DataFolder + "splash.ini";
    p.LibVlcDir = IncludeTrailingPathDelimiter(programFolder) + "LIB_VLC/";
    p.InstallDir = IncludeTrailingPathDelimiter(installDir);
    p.HelpIndexFile = p.InstallDir + "Help/index.html";
    p.DefaultLogDir = p.DataFolder + "Log/";
    p.DefaultHtmlDir = p.DataFolder + "HTML/";
    p.DefaultArchiveDir = p.DataFolder + "Archive/";
    p.DefaultHttpRoot = p.DataFolder + "WebServer/htdocs/";
    return p;
}

namespace {
std::mutex g_pathsMutex;
std::shared_ptr<const TAppPaths>& PathsSlot() {
    static std::shared_ptr<const TAppPaths> paths = std::make_shared<const TAppPaths>(MakeAppPaths("", "", ""));
    return paths;
}
}  // namespace

std::shared_ptr<const TAppPaths> AppPaths() {
    std::lock_guard lock(g_pathsMutex);
    return PathsSlot();
}

void SetAppPaths(const TAppPaths& paths) {
    auto snapshot = std::make_shared<const TAppPaths>(paths);
    std::lock_guard lock(g_pathsMutex);
    PathsSlot() = std::move(snapshot);
}

}  // namespace app
