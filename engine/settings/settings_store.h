// The settings in use: an immutable snapshot that any thread may read; only the user-interface thread
// publishes new ones.
#pragma once

#include <functional>
#include <memory>

#include "engine/settings/settings.h"

namespace engine {

// The current snapshot: the built-in defaults (no folders) until the program publishes its own.
std::shared_ptr<const TSettings> Settings();
// Replaces the snapshot; readers holding the old one keep it unchanged.
void PublishSettings(const TSettings& settings);
// Copies the snapshot, lets change edit the copy and publishes it.
void UpdateSettings(const std::function<void(TSettings&)>& change);

}  // namespace engine
