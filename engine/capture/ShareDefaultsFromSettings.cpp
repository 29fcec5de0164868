#include "engine/capture/ShareDefaultsFromSettings.h"

#include <algorithm>
#include <cctype>

#include "app/settings/app_globals.h"
#include "app/settings/counters.h"
#include "app/settings/name_routines.h"
#include "app/settings/settings_store.h"
#include "engine/util/system_info.h"

namespace engine {

TShareDefaults ShareDefaultsFromSettings(int32_t captureIdx) {
    TShareDefaults defaults;
    defaults.CaptureIdx = captureIdx;
    defaults.VlcMissing = app::VlcMissing.load();
    defaults.HtmlDir = app::Settings()->HtmlDir;
    std::string subDir = app::SanitizeName(GetLocalComputerName()) + app::HostDirSuffix();
    std::transform(subDir.begin(), subDir.end(), subDir.begin(), [](unsigned char c) { return std::tolower(c); });
    defaults.SubDir = subDir;
    defaults.NextIndex = [] { return app::NextStreamerIndex(); };
    return defaults;
}

}  // namespace engine
