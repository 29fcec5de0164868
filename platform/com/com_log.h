// The COM layer's log line: "[com] " + text on the standard error stream.
#pragma once

#include <string>

namespace platform {

void LogCom(const std::string& text);

}  // namespace platform
