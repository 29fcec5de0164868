// The defaults of a new share taken from the program's settings: the share counter, the page folder,
// the library-missing flag and the computer's name as the default share folder.
#pragma once

#include "engine/capture/settings/ShareList.h"

namespace engine {

TShareDefaults ShareDefaultsFromSettings(int32_t captureIdx);

}  // namespace engine
