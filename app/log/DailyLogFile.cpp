#include "app/log/DailyLogFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "engine/util/path_utils.h"

namespace fs = std::filesystem;

namespace app {

std::string DailyLogFileName(std::chrono::system_clock::time_point time) {
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    ::localtime_r(&t, &local);
    char name[64];
    std::snprintf(name, sizeof name, "Framewick_%04d_%02d_%02d.log", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return name;
}

bool TDailyLogFile::OpenFor(const std::string& path, std::string* error) {
    if (stream_.is_open() && path == fileName_) return true;
    if (stream_.is_open()) stream_.close();
    fileName_ = path;
    std::error_code ec;
    if (const std::string folder = engine::ExtractFilePath(path); !folder.empty()) fs::create_directories(folder, ec);
    stream_.clear();
    stream_.open(path, std::ios::binary | std::ios::app);
    if (stream_.is_open()) return true;
    if (error) *error = ec ? ec.message() : std::strerror(errno);
    return false;
}

bool TDailyLogFile::Write(std::string_view bytes, std::string* error) {
    if (!stream_.is_open()) {
        if (error) *error = "no log file open";
        return false;
    }
    stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream_.flush();
    if (stream_.good()) return true;
    if (error) *error = std::strerror(errno);
    stream_.close();
    return false;
}

}  // namespace app
