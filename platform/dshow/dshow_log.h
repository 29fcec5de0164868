// Diagnostic lines of the filter layer and of the filters built on it. Lines go to standard error
// unless a host (or a test) installs its own handler.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace dshow {

using TLogHandler = std::function<void(const std::string& line)>;

// Replaces the handler; an empty handler restores standard error. Thread-safe.
void SetLogHandler(TLogHandler handler);
// Thread-safe; the line names its object ("[Orbelle32] ...").
void Log(std::string_view line);

}  // namespace dshow
