// What the program remembers of its libVLC choices. The program keeps them in its per-user registry;
// an empty function means nothing is stored and the plugin cache is cleared.
#pragma once

#include <functional>
#include <string>

namespace engine {

struct TVlcPreferences {
    // Records the version word the program asks for as its preferred one.
    std::function<void(const std::string& version)> StorePreferredVersion;
    // Whether a usable library's plugin cache files are deleted when nobody forces it.
    std::function<bool()> ClearPluginCache;
};

}  // namespace engine
