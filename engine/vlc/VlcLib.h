// The process-wide libVLC binding. libVLC is never linked: libvlccore and libvlc are loaded at run time
// from one library folder (by default "LIB_VLC/" beside the program) and the 35 entry points the
// program needs are resolved by name into the table VlcFunctions(). Used from the user-interface
// thread only; there is no lock.
//
// Results: 0 success, kVlcErrorLibrary (-1) a library could not be loaded, kVlcErrorEntryPoint (-2)
// an entry point is missing. Nothing is shown or logged here.
#pragma once

#include <array>
#include <string>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <vlc/vlc.h>
#pragma GCC diagnostic pop

namespace engine {

constexpr const char* kVlcCoreLibraryFile = "libvlccore.so.9";
constexpr const char* kVlcLibraryFile = "libvlc.so.5";
constexpr const char* kVlcPluginFolderName = "plugins";
constexpr const char* kDefaultVlcLibFolderName = "LIB_VLC";
constexpr int kVlcErrorLibrary = -1;
constexpr int kVlcErrorEntryPoint = -2;
constexpr size_t kVlcEntryPointCount = 35;

// Every entry point that must exist in the library, in the order they are resolved. The program calls
// only libvlc_new, libvlc_get_version, libvlc_release and the broadcast manager's calls; the others
// are required so that an incomplete library is refused.
#define FW_VLC_ENTRY_POINTS(X)                                                                      \
    X(libvlc_new) X(libvlc_get_version) X(libvlc_release) X(libvlc_media_new_location)              \
    X(libvlc_media_add_option) X(libvlc_media_release) X(libvlc_media_get_stats)                    \
    X(libvlc_media_new_path) X(libvlc_media_player_stop) X(libvlc_media_player_play)                \
    X(libvlc_media_player_pause) X(libvlc_media_player_get_state)                                   \
    X(libvlc_media_player_new_from_media) X(libvlc_media_player_set_hwnd)                           \
    X(libvlc_media_player_release) X(libvlc_media_player_set_position)                              \
    X(libvlc_media_player_get_length) X(libvlc_media_player_get_time)                               \
    X(libvlc_media_player_get_position) X(libvlc_set_fullscreen) X(libvlc_video_set_spu)            \
    X(libvlc_video_get_spu) X(libvlc_video_get_spu_count) X(libvlc_video_get_spu_description)       \
    X(libvlc_video_set_teletext) X(libvlc_audio_get_mute) X(libvlc_audio_set_mute)                  \
    X(libvlc_audio_get_volume) X(libvlc_audio_set_volume) X(libvlc_vlm_add_broadcast)               \
    X(libvlc_vlm_play_media) X(libvlc_vlm_del_media) X(libvlc_vlm_stop_media)                       \
    X(libvlc_vlm_pause_media) X(libvlc_vlm_get_media_instance_rate)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
// One typed pointer per entry point; nullptr until resolved and again after UnloadVlcLibraries.
struct TVlcFunctions {
#define FW_VLC_POINTER(name) decltype(&::name) name = nullptr;
    FW_VLC_ENTRY_POINTS(FW_VLC_POINTER)
#undef FW_VLC_POINTER
    // Optional (not one of the required 35): libvlc_release leaves the broadcast manager's thread
    // running unless the manager is released first.
    decltype(&::libvlc_vlm_release) libvlc_vlm_release = nullptr;
};
#pragma GCC diagnostic pop

const TVlcFunctions& VlcFunctions();
// The names of FW_VLC_ENTRY_POINTS in resolution order.
const std::array<const char*, kVlcEntryPointCount>& VlcEntryPointNames();

// The program's folder + "LIB_VLC/".
std::string DefaultVlcLibFolder();

// The library folder := dir (with a trailing "/") when both libraries exist there, else empty.
void SetVlcLibPath(const std::string& dir);
// An empty or missing library folder becomes DefaultVlcLibFolder(); true when the folder exists now.
bool VlcLibPathExists();
// The library folder, after VlcLibPathExists() when it was empty.
std::string GetVlcLibPath();

// Loads libvlccore and then libvlc from the library folder unless libvlc is already loaded, and points
// VLC_PLUGIN_PATH at the folder's "plugins/" for the instances created later. 0 or -1.
int LoadVlcLibraries();
// *proc := the address of name in libvlc (loading the libraries first when needed). 0, -1 or -2.
int GetVlcProcAddress(const char* name, void** proc);
// Loads the libraries and resolves every entry point (a missing one stays nullptr, sets -2 and the
// others are still resolved). 0, -1 or -2.
int LoadVlcFunctions();
// Frees both libraries and clears every function pointer. Always 0.
int UnloadVlcLibraries();

int VlcLastError();
bool VlcFunctionsLoaded();
bool VlcLibrariesLoaded();

// The text of libvlc_get_version ("3.0.24 Vetinari"); "" when it is not bound.
std::string GetLibVlcVersion();
// The version word of that text (VlcVersionWord).
std::string GetVlcVersion();
// True when the loaded library's version word matches version (VlcVersionMatches).
bool IsVlcVersion(const std::string& version);

}  // namespace engine
