// Diagnostic lines of the filter layer and of the filters built on it. Lines go to standard error
// unless a host (or a test) installs its own handler, which then learns each line's level.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace dshow {

enum class TLogLevel {
    Error,  // something did not work: a port that cannot be had, a refused setting, a lost sample
    Info,   // what a filter does in its normal work: the source it opened, the area it grabs
};

using TLogHandler = std::function<void(TLogLevel level, const std::string& line)>;

// Replaces the handler; an empty handler restores standard error. Thread-safe.
void SetLogHandler(TLogHandler handler);
// An error line; thread-safe. The line names its object ("[Orbelle32] ...").
void Log(std::string_view line);
// An information line; thread-safe.
void LogInfo(std::string_view line);

}  // namespace dshow
