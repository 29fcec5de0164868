// A second start's side of bring-to-front: asks the running instance to show its main window.
#pragma once

#include <string>

namespace platform {

// How long a second start waits for the running instance, in all.
constexpr int kActivationTimeoutMs = 2000;

// True when the instance listening on serverName has taken the request; false when none listens
// (it may still be starting) or it did not answer in time.
bool RequestActivation(const std::string& serverName, int timeoutMs = kActivationTimeoutMs);

}  // namespace platform
