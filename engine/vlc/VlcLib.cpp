#include "engine/vlc/VlcLib.h"

#include <cstdlib>

#include "engine/util/path_utils.h"
#include "engine/util/vlc_version.h"
#include "platform/util/file_checks.h"
#include "platform/util/shared_library.h"

namespace engine {
namespace {

struct VlcBinding {
    std::string folder;
    platform::SharedLibrary core;
    platform::SharedLibrary vlc;
    int lastError = 0;
    bool functionsLoaded = false;
    TVlcFunctions functions;
};

// Never destroyed: the libraries stay loaded until UnloadVlcLibraries, also while the process exits
// (unloading libVLC under an instance that some other exit step still releases would crash).
VlcBinding& Binding() {
    static VlcBinding* binding = new VlcBinding;
    return *binding;
}

}  // namespace

const TVlcFunctions& VlcFunctions() { return Binding().functions; }

const std::array<const char*, kVlcEntryPointCount>& VlcEntryPointNames() {
#define FW_VLC_NAME(name) #name,
    static const std::array<const char*, kVlcEntryPointCount> names = {FW_VLC_ENTRY_POINTS(FW_VLC_NAME)};
#undef FW_VLC_NAME
    return names;
}

std::string DefaultVlcLibFolder() {
    return IncludeTrailingPathDelimiter(ProgramFolder() + kDefaultVlcLibFolderName);
}

void SetVlcLibPath(const std::string& dir) {
    const std::string folder = IncludeTrailingPathDelimiter(dir);
    const bool complete =
        !dir.empty() && platform::IsFile(folder + kVlcLibraryFile) && platform::IsFile(folder + kVlcCoreLibraryFile);
    Binding().folder = complete ? folder : std::string();
}

bool VlcLibPathExists() {
    VlcBinding& b = Binding();
    if (!platform::IsFolder(b.folder)) b.folder = DefaultVlcLibFolder();
    return platform::IsFolder(b.folder);
}

std::string GetVlcLibPath() {
    if (Binding().folder.empty()) VlcLibPathExists();
    return Binding().folder;
}

int LoadVlcLibraries() {
    VlcBinding& b = Binding();
    if (!b.vlc.IsOpen()) {
        if (!b.core.IsOpen() && VlcLibPathExists())
            b.core.Open(b.folder + kVlcCoreLibraryFile, platform::SymbolScope::Global);
        if (b.core.IsOpen() && VlcLibPathExists()) {
            // libVLC finds its plugins through this variable when an instance is created.
            setenv("VLC_PLUGIN_PATH", (b.folder + kVlcPluginFolderName).c_str(), 1);
            b.vlc.Open(b.folder + kVlcLibraryFile);
        }
    }
    if (b.vlc.IsOpen()) return 0;
    b.lastError = kVlcErrorLibrary;
    return kVlcErrorLibrary;
}

int GetVlcProcAddress(const char* name, void** proc) {
    VlcBinding& b = Binding();
    *proc = nullptr;
    if (!b.vlc.IsOpen()) {
        const int result = LoadVlcLibraries();
        if (result != 0) return result;
    }
    *proc = b.vlc.Symbol(name);
    if (*proc == nullptr) {
        b.lastError = kVlcErrorEntryPoint;
        return kVlcErrorEntryPoint;
    }
    return 0;
}

int LoadVlcFunctions() {
    VlcBinding& b = Binding();
    b.lastError = 0;
    if (LoadVlcLibraries() != 0) return b.lastError;
    TVlcFunctions resolved;
#define FW_VLC_RESOLVE(name)                                          \
    {                                                                 \
        void* address = nullptr;                                      \
        GetVlcProcAddress(#name, &address);                           \
        resolved.name = reinterpret_cast<decltype(resolved.name)>(address); \
    }
    FW_VLC_ENTRY_POINTS(FW_VLC_RESOLVE)
#undef FW_VLC_RESOLVE
    resolved.libvlc_vlm_release = reinterpret_cast<decltype(resolved.libvlc_vlm_release)>(b.vlc.Symbol("libvlc_vlm_release"));
    b.functions = resolved;
    b.functionsLoaded = true;
    return b.lastError;
}

int UnloadVlcLibraries() {
    VlcBinding& b = Binding();
    b.functions = TVlcFunctions{};
    b.functionsLoaded = false;
    b.core.Close();
    b.vlc.Close();
    return 0;
}

int VlcLastError() { return Binding().lastError; }
bool VlcFunctionsLoaded() { return Binding().functionsLoaded; }
bool VlcLibrariesLoaded() { return Binding().vlc.IsOpen(); }

std::string GetLibVlcVersion() {
    const auto getVersion = Binding().functions.libvlc_get_version;
    if (getVersion == nullptr) return {};
    const char* text = getVersion();
    return text != nullptr ? text : "";
}

std::string GetVlcVersion() { return VlcVersionWord(GetLibVlcVersion()); }

bool IsVlcVersion(const std::string& version) { return VlcVersionMatches(GetVlcVersion(), version); }

}  // namespace engine
