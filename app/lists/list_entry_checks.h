// Values of a list entry that would take the program somewhere it cannot go (a port outside 1..65535,
// a kind no code knows) are replaced by their defaults when the entry is read, each with a log line.
#pragma once

#include <cstdint>
#include <string>

#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/capture/settings/ShareList.h"

namespace app {

constexpr int32_t kMinPort = 1;
constexpr int32_t kMaxPort = 65535;

// A port outside kMinPort..kMaxPort becomes fallback; what names the value in the log line. False when
// it was replaced.
bool CheckPort(const std::string& what, int32_t& port, int32_t fallback);

// The capture settings and shares of one capture.xml entry: methods, source kinds, codecs, scale,
// picture and file formats, the UDP source port, and each share's protocol and port.
void CheckCaptureValues(const std::string& entryName, engine::TScreenCaptureParams& params,
                        engine::TShareList& shares);

}  // namespace app
