#include "engine/capture/workers/WorkerLog.h"

#include <chrono>

#include "engine/settings/program_state.h"

namespace engine {

void TWorkerLog::Add(const std::string& text, uint8_t level) const {
    if (!list_) return;
    if (skipWhileClosing_ && engine::AppClosing.load()) return;
    list_->Append(engine::TLogListEntry{text, std::chrono::system_clock::now(), level});
}

void TWorkerLog::InfoLines(const std::string& text) const {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Info(line);
        start = end + 1;
    }
}

}  // namespace engine
