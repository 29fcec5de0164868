#include "engine/capture/settings/ShareDefaultsFromSettings.h"

#include <algorithm>
#include <cctype>

#include "engine/settings/counters.h"
#include "engine/settings/name_routines.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/system_info.h"
#include "platform/util/ascii_case.h"

namespace engine {

TShareDefaults ShareDefaultsFromSettings(int32_t captureIdx) {
    TShareDefaults defaults;
    defaults.CaptureIdx = captureIdx;
    defaults.VlcMissing = engine::VlcMissing.load();
    defaults.HtmlDir = engine::Settings()->HtmlDir;
    defaults.SubDir = platform::AsciiLower(engine::SanitizeName(GetLocalComputerName()) + engine::HostDirSuffix());
    defaults.NextIndex = [] { return engine::NextStreamerIndex(); };
    return defaults;
}

}  // namespace engine
