#include "app/settings/vlc_registry_preferences.h"

#include "app/settings/registry_store.h"

namespace app {
namespace {

constexpr const char* kVlcVerValue = "VlcVer";
constexpr const char* kVlcIniValue = "VlcIni";

}  // namespace

engine::TVlcPreferences RegistryVlcPreferences() {
    engine::TVlcPreferences preferences;
    preferences.StorePreferredVersion = [](const std::string& version) {
        if (RegReadExeString(kVlcVerValue, "") != version) RegWriteExeString(kVlcVerValue, version);
    };
    preferences.ClearPluginCache = [] { return RegReadInstInteger(kVlcIniValue, 1) == 1; };
    return preferences;
}

}  // namespace app
