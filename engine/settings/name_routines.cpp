#include "engine/settings/name_routines.h"

#include <ctime>

#include "engine/util/number_strings.h"

namespace engine {

std::string SanitizeName(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        bool kept = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'X') || (c >= 'a' && c <= 'x') || c == '_';
        if (!kept) c = '_';
    }
    return result;
}

std::string HostDirSuffix() { return std::string(); }

TRunTime FormatRunTime(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    TRunTime r;
    r.Hours = static_cast<int>((seconds / 3600) % 24);
    r.Minutes = static_cast<int>((seconds / 60) % 60);
    r.Secs = static_cast<int>(seconds % 60);
    r.Text = engine::ZeroPadStr(std::to_string(r.Hours), 3) + ":" + engine::ZeroPadStr(std::to_string(r.Minutes), 2) +
             ":" + engine::ZeroPadStr(std::to_string(r.Secs), 2);
    return r;
}

std::string FormatLocalTime(std::chrono::system_clock::time_point time, const std::string& format) {
    std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    if (!::localtime_r(&t, &local)) return {};
    char text[128];
    return std::strftime(text, sizeof(text), format.c_str(), &local) > 0 ? text : std::string();
}

}  // namespace engine
