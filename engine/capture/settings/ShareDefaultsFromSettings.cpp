#include "engine/capture/settings/ShareDefaultsFromSettings.h"

#include <algorithm>
#include <cctype>

#include "engine/settings/counters.h"
#include "engine/settings/name_routines.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/system_info.h"

namespace engine {

TShareDefaults ShareDefaultsFromSettings(int32_t captureIdx) {
    TShareDefaults defaults;
    defaults.CaptureIdx = captureIdx;
    defaults.VlcMissing = engine::VlcMissing.load();
    defaults.HtmlDir = engine::Settings()->HtmlDir;
    std::string subDir = engine::SanitizeName(GetLocalComputerName()) + engine::HostDirSuffix();
    std::transform(subDir.begin(), subDir.end(), subDir.begin(), [](unsigned char c) { return std::tolower(c); });
    defaults.SubDir = subDir;
    defaults.NextIndex = [] { return engine::NextStreamerIndex(); };
    return defaults;
}

}  // namespace engine
