// The paths worked out at start-up (data folder, list files, library, help and default folders).
// Set once by the start-up code and read from any thread as an immutable snapshot.
#pragma once

#include <memory>
#include <string>

namespace app {

struct TAppPaths {
    std::string DataFolder;          // with a trailing "/"; "" means the current folder
    std::string IniFileName;         // data folder + "framewick.ini"
    std::string HttpServerListFile;  // data folder + "httpserv.xml"
    std::string WebSocketListFile;   // data folder + "wsocket.xml"
    std::string CaptureListFile;     // data folder + "capture.xml"
    std::string SplashIniFile;       // data folder + "splash.ini"
    std::string LibVlcDir;           // program folder + "LIB_VLC/"
    std::string InstallDir;          // install root, with a trailing "/"
    std::string HelpIndexFile;       // install root + "Help/index.html"
    std::string DefaultLogDir;       // data folder + "Log/"
    std::string DefaultHtmlDir;      // data folder + "HTML/"
    std::string DefaultArchiveDir;   // data folder + "Archive/"
    std::string DefaultHttpRoot;     // data folder + "WebServer/htdocs/"
};

// Every path from the three folders they are built from (each given with or without a trailing "/").
TAppPaths MakeAppPaths(const std::string& dataFolder, const std::string& programFolder, const std::string& installDir);

// The paths in use; built from empty folders until the start-up code sets them.
std::shared_ptr<const TAppPaths> AppPaths();
void SetAppPaths(const TAppPaths& paths);

}  // namespace app
