#include "app/log/LogLine.h"

#include <ctime>

#include "engine/settings/log_list.h"

namespace app {

std::string LogTimeText(std::chrono::system_clock::time_point time) {
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    ::localtime_r(&t, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

std::vector<std::string> SplitLogText(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::vector<TFormattedLogLine> FormatLogLines(const std::string& text, uint8_t level,
                                              std::chrono::system_clock::time_point time) {
    std::vector<TFormattedLogLine> formatted;
    const std::vector<std::string> lines = SplitLogText(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string prefix = i == 0 ? LogTimeText(time) + " " + engine::LogLevelTag(level) : kLogContinuationPrefix;
        formatted.push_back({prefix + " " + lines[i], !lines[i].empty()});
    }
    return formatted;
}

bool LogLevelSwitchedOn(uint8_t level, const engine::TSettings& settings) {
    switch (level) {
        case engine::kLogWarning: return settings.LogWarning;
        case engine::kLogError: return settings.LogError;
        case engine::kLogInfo: return settings.LogInfo;
        default: return true;
    }
}

}  // namespace app
