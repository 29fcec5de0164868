#include "platform/dshow/dshow_log.h"

#include <cstdio>
#include <mutex>

namespace dshow {
namespace {
std::mutex& LogMutex() {
    static std::mutex m;
    return m;
}
TLogHandler& Handler() {
    static TLogHandler h;
    return h;
}

void Write(TLogLevel level, std::string_view line) {
    std::lock_guard lock(LogMutex());
    if (Handler()) {
        Handler()(level, std::string(line));
        return;
    }
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}
}  // namespace

void SetLogHandler(TLogHandler handler) {
    std::lock_guard lock(LogMutex());
    Handler() = std::move(handler);
}

void Log(std::string_view line) { Write(TLogLevel::Error, line); }
void LogInfo(std::string_view line) { Write(TLogLevel::Info, line); }

}  // namespace dshow
