#include "engine/settings/settings_store.h"

#include <mutex>

namespace engine {

namespace {
std::mutex g_settingsMutex;
std::shared_ptr<const TSettings> g_settings;
}  // namespace

std::shared_ptr<const TSettings> Settings() {
    std::lock_guard lock(g_settingsMutex);
    if (!g_settings) g_settings = std::make_shared<const TSettings>();
    return g_settings;
}

void PublishSettings(const TSettings& settings) {
    auto snapshot = std::make_shared<const TSettings>(settings);
    std::lock_guard lock(g_settingsMutex);
    g_settings = std::move(snapshot);
}

void UpdateSettings(const std::function<void(TSettings&)>& change) {
    TSettings copy = *Settings();
    change(copy);
    PublishSettings(copy);
}

}  // namespace engine
