// A capture job's check that the libVLC in its library folder is usable, and the clean-up of
// libVLC's plugin cache files in that folder.
#pragma once

#include <string>
#include <utility>

#include "engine/capture/broadcast/VlcPreferences.h"

namespace engine {

class TVlcLibraryCheck {
public:
    explicit TVlcLibraryCheck(TVlcPreferences preferences = {}) : preferences_(std::move(preferences)) {}

    // Records the required version as the preferred one, loads the library with all
    // its entry points from capVlcLibPath (the default folder when that holds no library) and, the
    // first time only, reads its version word. True when the library loaded and that first word
    // matches the required version; every later call answers false (the job keeps its first result).
    // A true answer clears the plugin cache (DeleteVlcPluginCache without force).
    bool CheckVlc(const std::string& capVlcLibPath);
    bool VlcOk() const { return vlcOk_; }
    const std::string& VlcVersionText() const { return versionText_; }

private:
    TVlcPreferences preferences_;
    std::string versionText_;
    bool vlcOk_ = false;
};

// With force, or when the preferences ask for it (they do unless they say otherwise): deletes every
// "*.dat" file directly in dir and then in dir + "plugins/". A "plugins" entry that is a link (to an
// installed libVLC) is left alone, so the installed library's own cache is never touched.
void DeleteVlcPluginCache(const std::string& dir, bool force, const TVlcPreferences& preferences);

}  // namespace engine
