#include "common/version_info.h"

#include <filesystem>
#include <system_error>

#include "engine/util/path_utils.h"
#include "framewick_version.h"

namespace app {

namespace {
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, ec) && !ec;
}
}  // namespace

bool ReadVersionInfo(const std::string& fileName, TMyFileInfo& info) {
    if (!SameFile(fileName, engine::ProgramFilePath())) return false;
    info = TMyFileInfo{FW_VERSION_COMPANY_NAME,      FW_VERSION_FILE_DESCRIPTION, FW_VERSION_FILE_VERSION,
                       FW_VERSION_INTERNAL_NAME,     FW_VERSION_LEGAL_COPYRIGHT,  FW_VERSION_LEGAL_TRADEMARKS,
                       FW_VERSION_ORIGINAL_FILENAME, FW_VERSION_PRODUCT_NAME,     FW_VERSION_PRODUCT_VERSION,
                       FW_VERSION_COMMENTS};
    return true;
}

std::string MajorVersionOf(const std::string& fileVersion) {
    size_t dot = fileVersion.find('.');
    return dot == std::string::npos ? std::string() : fileVersion.substr(0, dot);
}

std::string GetMajorVersion() {
    TMyFileInfo info;
    if (!ReadVersionInfo(engine::ProgramFilePath(), info)) return std::string();
    return MajorVersionOf(info.FileVersion);
}

}  // namespace app
