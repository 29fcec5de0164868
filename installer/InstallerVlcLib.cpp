#include "installer/InstallerVlcLib.h"

#include "engine/util/path_utils.h"
#include "platform/registry/registry.h"
#include "platform/util/file_checks.h"

namespace hollarin {
namespace {

bool HoldsLibVlc(const std::string& folder) {
    return platform::IsFolder(folder) &&
           platform::IsFile(engine::IncludeTrailingPathDelimiter(folder) + engine::kVlcLibraryFile);
}

}  // namespace

TInstallerVlcLib::TInstallerVlcLib(std::vector<std::string> systemLibraryFolders)
    : systemLibraryFolders_(std::move(systemLibraryFolders)) {}

const std::array<const char*, kInstallerVlcEntryPointCount>& TInstallerVlcLib::EntryPointNames() {
#define HOLLARIN_VLC_NAME(name) #name,
    static const std::array<const char*, kInstallerVlcEntryPointCount> names = {HOLLARIN_VLC_ENTRY_POINTS(HOLLARIN_VLC_NAME)};
#undef HOLLARIN_VLC_NAME
    return names;
}

void TInstallerVlcLib::SetVlcLibPath(const std::string& dir) {
    folder_ = !dir.empty() && HoldsLibVlc(dir) ? engine::IncludeTrailingPathDelimiter(dir) : std::string();
}

std::string TInstallerVlcLib::RegistryInstallDir() {
    platform::TRegistry registry(platform::RootKey::LocalMachine);
    if (!registry.OpenKeyReadOnly(kVlcInstallKey)) return {};
    std::string dir = registry.ReadString(kVlcInstallDirValue).value_or(std::string());
    // A value written with its terminating NUL counted in its size keeps that NUL at its end.
    while (!dir.empty() && dir.back() == '\0') dir.pop_back();
    return dir.empty() ? std::string() : engine::IncludeTrailingPathDelimiter(dir);
}

bool TInstallerVlcLib::VlcLibPathExists() {
    if (HoldsLibVlc(folder_)) return true;
    if (std::string installDir = RegistryInstallDir(); !installDir.empty()) {
        folder_ = installDir;
        return true;
    }
    if (const auto system = engine::FindInstalledVlc(systemLibraryFolders_)) {
        folder_ = system->LibraryFolder;
        return true;
    }
    return false;
}

int TInstallerVlcLib::LoadVlcLibraries() {
    if (!vlc_.IsOpen()) {
        // libvlc needs libvlccore's symbols, so libvlccore goes first and globally.
        if (!core_.IsOpen() && VlcLibPathExists())
            core_.Open(folder_ + engine::kVlcCoreLibraryFile, platform::SymbolScope::Global);
        if (core_.IsOpen() && VlcLibPathExists()) vlc_.Open(folder_ + engine::kVlcLibraryFile);
    }
    if (vlc_.IsOpen()) return 0;
    lastError_ = engine::kVlcErrorLibrary;
    return engine::kVlcErrorLibrary;
}

int TInstallerVlcLib::GetVlcProcAddress(const char* name, void** proc) {
    *proc = nullptr;
    if (!vlc_.IsOpen()) {
        const int result = LoadVlcLibraries();
        if (result != 0) return result;
    }
    *proc = vlc_.Symbol(name);
    if (*proc != nullptr) return 0;
    lastError_ = engine::kVlcErrorEntryPoint;
    return engine::kVlcErrorEntryPoint;
}

int TInstallerVlcLib::LoadVlcFunctions() {
    lastError_ = 0;
    if (LoadVlcLibraries() != 0) return lastError_;
    TInstallerVlcFunctions resolved;
#define HOLLARIN_VLC_RESOLVE(name)                                           \
    {                                                                        \
        void* address = nullptr;                                             \
        GetVlcProcAddress(#name, &address);                                  \
        resolved.name = reinterpret_cast<decltype(resolved.name)>(address);  \
    }
    HOLLARIN_VLC_ENTRY_POINTS(HOLLARIN_VLC_RESOLVE)
#undef HOLLARIN_VLC_RESOLVE
    functions_ = resolved;
    functionsLoaded_ = true;
    return lastError_;
}

void TInstallerVlcLib::UnloadVlcLibraries() {
    functions_ = TInstallerVlcFunctions{};
    functionsLoaded_ = false;
    vlc_.Close();
    core_.Close();
}

std::string TInstallerVlcLib::GetLibVlcVersion() const {
    if (functions_.libvlc_get_version == nullptr) return {};
    const char* text = functions_.libvlc_get_version();
    return text != nullptr ? text : "";
}

TInstallerVlcLib& InstallerVlcLib() {
    // Never destroyed: nothing may unload libVLC while the process exits.
    static TInstallerVlcLib* binding = new TInstallerVlcLib;
    return *binding;
}

}  // namespace hollarin
