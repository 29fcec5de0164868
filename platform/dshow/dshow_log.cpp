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
}  // namespace

void SetLogHandler(TLogHandler handler) {
    std::lock_guard lock(LogMutex());
    Handler() = std::move(handler);
}

void Log(std::string_view line) {
    std::lock_guard lock(LogMutex());
    if (Handler()) {
        Handler()(std::string(line));
        return;
    }
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

}  // namespace dshow
