// The program's default settings: the built-in values with the folders of its data folder.
#pragma once

#include "app/settings/app_paths.h"
#include "engine/settings/settings.h"

namespace app {

// The defaults, with the folders taken from paths.
engine::TSettings DefaultSettings(const TAppPaths& paths);

}  // namespace app
