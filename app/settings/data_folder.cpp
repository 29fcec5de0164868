#include "app/settings/data_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "app/settings/app_globals.h"
#include "common/version_info.h"
#include "engine/util/path_utils.h"
#include "platform/registry/registry.h"
#include "platform/util/ascii_case.h"
#include "platform/util/file_checks.h"

namespace fs = std::filesystem;

namespace app {

namespace {

constexpr const char* kDataRootKey = "SOFTWARE\\Framewick";
constexpr const char* kVlcKey = "\\SOFTWARE\\VideoLAN\\VLC";
constexpr const char* kFramewickProduct = "Framewick";

std::string ReadRegistryString(platform::RootKey root, const std::string& key, const std::string& name) {
    platform::TRegistry reg(root);
    if (!reg.OpenKeyReadOnly(key)) return std::string();
    return reg.ReadString(name).value_or(std::string());
}

std::string UserDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share";
    return std::string();
}

std::mutex g_folderMutex;  // guards the cached answers below

}  // namespace

std::string ComputeDataFolder(const TDataFolderInputs& in) {
    using engine::IncludeTrailingPathDelimiter;
    if (!in.MajorVersion.empty() && !in.RootAppPath.empty())
        return IncludeTrailingPathDelimiter(in.RootAppPath) + "Framewick/Inst" + std::to_string(in.Instance) + "/";

    if (!in.ProgramFile.empty() && !in.ProgramFilesFolders.empty()) {
        const std::string program = platform::AsciiLower(in.ProgramFile);
        bool below = std::any_of(in.ProgramFilesFolders.begin(), in.ProgramFilesFolders.end(),
                                 [&](const std::string& f) { return program.rfind(platform::AsciiLower(IncludeTrailingPathDelimiter(f)), 0) == 0; });
        if (!below) return engine::ExtractFilePath(in.ProgramFile);
    }

    if (platform::IsFolder(in.UserDataFolder) && !in.MajorVersion.empty() && !in.ExeName.empty()) {
        std::string folder = IncludeTrailingPathDelimiter(in.UserDataFolder) + "Quillmar/Framewick/v" + in.MajorVersion + "/";
        std::error_code ec;
        fs::create_directories(folder, ec);
        return folder;
    }
    return std::string();
}

TDataFolderInputs CurrentDataFolderInputs() {
    TDataFolderInputs in;
    in.MajorVersion = GetMajorVersion();
    in.ProgramFile = engine::ProgramFilePath();
    in.ExeName = engine::ExtractFileName(in.ProgramFile);
    in.ProgramFilesFolders = {"/usr/", "/opt/"};
    in.UserDataFolder = UserDataFolder();
    in.RootAppPath = ReadRegistryString(platform::RootKey::LocalMachine, kDataRootKey, "RootAppPath");
    in.Instance = InstanceIndex.load();
    return in;
}

std::string GetDataFolder() {
    static std::once_flag once;
    static std::string folder;
    std::call_once(once, [] { folder = ComputeDataFolder(CurrentDataFolderInputs()); });
    return folder;
}

std::string ReadInstallRoot(const std::string& fileName, const std::string& product) {
    static std::string cachedFramewickRoot;
    const bool framewick = product == kFramewickProduct;
    if (framewick) {
        std::lock_guard lock(g_folderMutex);
        if (!cachedFramewickRoot.empty()) return cachedFramewickRoot;
    }
    TMyFileInfo info;
    if (!ReadVersionInfo(fileName, info)) return std::string();
    const std::string major = MajorVersionOf(info.FileVersion);
    if (major.empty()) return std::string();
    const std::string key = "SOFTWARE\\Quillmar\\" + product + "\\v" + major + "\\" + kInstallEditionKey;
    std::string root = ReadRegistryString(platform::RootKey::LocalMachine, key, "Root");
    if (framewick && !root.empty()) {
        std::lock_guard lock(g_folderMutex);
        cachedFramewickRoot = root;
    }
    return root;
}

std::string GetInstallFolder() {
    std::string root = ReadInstallRoot(engine::ProgramFilePath(), kFramewickProduct);
    return root.empty() ? engine::ProgramFolder() : engine::IncludeTrailingPathDelimiter(root);
}

std::vector<std::string> SystemLibVlcFolders() {
    return {"/usr/lib/x86_64-linux-gnu/", "/usr/lib/aarch64-linux-gnu/", "/usr/lib64/", "/usr/lib/"};
}

namespace {
TVlcInstall g_vlcInstall;  // guarded by g_folderMutex
}

TVlcInstall ReadVlcInstallDir(const std::vector<std::string>& systemFolders) {
    TVlcInstall found;
    for (platform::RootKey root : {platform::RootKey::LocalMachine, platform::RootKey::CurrentUser}) {
        std::string dir = ReadRegistryString(root, kVlcKey, "InstallDir");
        if (platform::IsFolder(dir)) {
            found = TVlcInstall{true, engine::IncludeTrailingPathDelimiter(dir)};
            break;
        }
    }
    if (!found.Found) {
        for (const std::string& folder : systemFolders) {
            const std::string dir = engine::IncludeTrailingPathDelimiter(folder);
            std::error_code ec;
            if (fs::exists(dir + "libvlc.so.5", ec) && platform::IsFolder(dir + "vlc/plugins")) {
                found = TVlcInstall{true, dir};
                break;
            }
        }
    }
    std::lock_guard lock(g_folderMutex);
    g_vlcInstall = found;
    return found;
}

TVlcInstall ReadVlcInstallDir() { return ReadVlcInstallDir(SystemLibVlcFolders()); }

TVlcInstall VlcInstall() {
    std::lock_guard lock(g_folderMutex);
    return g_vlcInstall;
}

}  // namespace app
