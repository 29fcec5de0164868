#include "platform/util/file_checks.h"

#include <filesystem>
#include <system_error>

namespace platform {

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

bool MakeFolder(const std::string& folder) {
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return IsFolder(folder);
}

}  // namespace platform
