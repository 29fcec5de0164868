// The libVLC choices the program keeps in its per-user registry: the preferred version word
// (program key, "VlcVer") and whether the plugin cache is cleared (instance key, "VlcIni", default 1).
#pragma once

#include "engine/capture/broadcast/VlcPreferences.h"

namespace app {

engine::TVlcPreferences RegistryVlcPreferences();

}  // namespace app
