// The installer's libVLC binding. Hollarin loads libVLC only to learn which version sits in the target
// folder (or, failing that, in an installed VLC) and unloads it before the install step replaces the
// folder. It is built on Framewick's pieces (SharedLibrary, the library file names) but keeps its own
// rules: a folder is accepted when it holds libvlc alone, a folder without libvlc falls back to an
// installed VLC, only 19 entry points are resolved and libvlc is freed before libvlccore.
//
// Results: 0, engine::kVlcErrorLibrary (-1) a library could not be loaded, engine::kVlcErrorEntryPoint
// (-2) an entry point is missing. Used from the user-interface thread only.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/vlc/InstalledVlc.h"
#include "engine/vlc/VlcLib.h"
#include "platform/util/shared_library.h"

namespace hollarin {

constexpr size_t kInstallerVlcEntryPointCount = 19;

// The entry points resolved by LoadVlcFunctions, in resolution order. The installer calls only
// libvlc_get_version; a library that lacks any of the others is reported with -2.
#define HOLLARIN_VLC_ENTRY_POINTS(X)                                                                     \
    X(libvlc_new) X(libvlc_get_version) X(libvlc_release) X(libvlc_media_new_location)                   \
    X(libvlc_media_add_option) X(libvlc_media_release) X(libvlc_media_get_stats)                         \
    X(libvlc_media_player_stop) X(libvlc_media_player_play) X(libvlc_media_player_pause)                 \
    X(libvlc_media_player_get_state) X(libvlc_media_player_new_from_media)                               \
    X(libvlc_media_player_set_hwnd) X(libvlc_media_player_release) X(libvlc_set_fullscreen)              \
    X(libvlc_audio_get_mute) X(libvlc_audio_set_mute) X(libvlc_audio_get_volume) X(libvlc_audio_set_volume)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
// One typed pointer per entry point; nullptr until resolved and again after UnloadVlcLibraries.
struct TInstallerVlcFunctions {
#define HOLLARIN_VLC_POINTER(name) decltype(&::name) name = nullptr;
    HOLLARIN_VLC_ENTRY_POINTS(HOLLARIN_VLC_POINTER)
#undef HOLLARIN_VLC_POINTER
};
#pragma GCC diagnostic pop

// The machine-wide key where a VLC installation records its folder.
constexpr const char* kVlcInstallKey = "Software\\VideoLAN\\VLC";
constexpr const char* kVlcInstallDirValue = "InstallDir";

class TInstallerVlcLib {
public:
    // systemLibraryFolders: where the system's libVLC is looked for when the registry names no VLC.
    explicit TInstallerVlcLib(std::vector<std::string> systemLibraryFolders = engine::SystemVlcLibraryFolders());
    ~TInstallerVlcLib() = default;
    TInstallerVlcLib(const TInstallerVlcLib&) = delete;
    TInstallerVlcLib& operator=(const TInstallerVlcLib&) = delete;

    // The library folder := dir (with a trailing "/") when dir holds libvlc, else empty.
    void SetVlcLibPath(const std::string& dir);
    // True when the library folder holds libvlc. Otherwise the installed VLC becomes the library folder:
    // the registry's InstallDir (true even when it holds no libvlc; loading then fails), else the
    // system's libVLC; false when there is neither.
    bool VlcLibPathExists();
    const std::string& VlcLibPath() const { return folder_; }

    // Loads libvlccore and then libvlc from the library folder unless libvlc is loaded already. 0 or -1.
    int LoadVlcLibraries();
    // *proc := the address of name in libvlc, loading the libraries first when needed. 0, -1 or -2.
    int GetVlcProcAddress(const char* name, void** proc);
    // Loads the libraries and resolves all 19 entry points (a missing one stays nullptr and sets -2;
    // the others are still resolved). 0, -1 or -2.
    int LoadVlcFunctions();
    // Frees libvlc, then libvlccore, and clears every entry point.
    void UnloadVlcLibraries();

    // The raw text of libvlc_get_version ("3.0.24 Vetinari"); "" while it is not bound.
    std::string GetLibVlcVersion() const;

    int LastError() const { return lastError_; }
    bool FunctionsLoaded() const { return functionsLoaded_; }
    bool LibrariesLoaded() const { return vlc_.IsOpen(); }
    const TInstallerVlcFunctions& Functions() const { return functions_; }
    static const std::array<const char*, kInstallerVlcEntryPointCount>& EntryPointNames();

private:
    // The registry's InstallDir with one trailing "/" ("" when missing or empty).
    static std::string RegistryInstallDir();

    std::vector<std::string> systemLibraryFolders_;
    std::string folder_;
    platform::SharedLibrary core_;
    platform::SharedLibrary vlc_;
    int lastError_ = 0;
    bool functionsLoaded_ = false;
    TInstallerVlcFunctions functions_;
};

// The process's binding (made on first use, never destroyed, like Framewick's).
TInstallerVlcLib& InstallerVlcLib();

}  // namespace hollarin
