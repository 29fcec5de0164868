#include "installer/InstallerRegistry.h"

#include "app/settings/version_info.h"
#include "hollarin_version.h"
#include "platform/registry/registry.h"

namespace hollarin {

std::string InstallerFileVersion() { return HOLLARIN_FILE_VERSION; }

std::string GetMajorVersion() { return app::MajorVersionOf(InstallerFileVersion()); }

std::string MonitorRegKey() {
    static std::string kept;
    if (kept.empty()) {
        const std::string major = GetMajorVersion();
        if (!major.empty()) kept = kMakerKeyPrefix + major + "\\Monitor";
    }
    return kept;
}

std::string RegReadMonitorString(std::string_view name, std::string_view fallback) {
    const std::string key = MonitorRegKey();
    platform::TRegistry registry(platform::RootKey::CurrentUser);
    if (!key.empty() && registry.OpenKeyReadOnly(key)) {
        if (auto value = registry.ReadString(name)) return *value;
    }
    return std::string(fallback);
}

void RegWriteMonitorString(std::string_view name, std::string_view value) {
    const std::string key = MonitorRegKey();
    platform::TRegistry registry(platform::RootKey::CurrentUser);
    if (!key.empty() && registry.OpenKey(key, true)) registry.WriteString(name, value);
}

bool ReadDpiDialog() {
    const std::string key = MonitorRegKey();
    platform::TRegistry registry(platform::RootKey::CurrentUser);
    if (key.empty() || !registry.OpenKeyReadOnly(key)) return false;
    return registry.ReadBool(kDpiDialogValue).value_or(false);
}

void WriteDpiDialog(bool value) {
    const std::string key = MonitorRegKey();
    platform::TRegistry registry(platform::RootKey::CurrentUser);
    if (!key.empty() && registry.OpenKey(key, true)) registry.WriteBool(kDpiDialogValue, value);
}

}  // namespace hollarin
