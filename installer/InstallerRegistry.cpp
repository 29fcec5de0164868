#include "installer/InstallerRegistry.h"

#include "common/version_info.h"
#include "engine/util/path_utils.h"
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

std::string ReadInstallRoot(const std::string& fileName) {
    const std::string major = fileName == engine::ProgramFilePath() ? GetMajorVersion() : std::string();
    platform::TRegistry registry(platform::RootKey::LocalMachine);
    if (!registry.OpenKeyReadOnly(kMakerKeyPrefix + major)) return {};
    return registry.ReadString(kInstallRootValue).value_or(std::string());
}

std::string HelpDir() {
    static const std::string kept = [] {
        const std::string root = ReadInstallRoot(engine::ProgramFilePath());
        const std::string help = std::string(kHelpFolderName) + "/";
        return root.empty() ? help : engine::IncludeTrailingPathDelimiter(root) + help;
    }();
    return kept;
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
