#include "installer/DownloadNaming.h"

#include <cctype>
#include <filesystem>

#include "engine/util/number_strings.h"
#include "engine/util/path_utils.h"

namespace hollarin {

bool IsUsableVlcVersion(std::string_view version) {
    if (version.empty() || !std::isalnum(static_cast<unsigned char>(version.front()))) return false;
    if (version.find("..") != std::string_view::npos) return false;
    for (char c : version) {
        const bool allowed = std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
        if (!allowed) return false;
    }
    return true;
}

std::optional<std::string> VlcDownloadUrl(std::string_view version, std::string_view server) {
    if (!IsUsableVlcVersion(version) || server.empty()) return std::nullopt;
    const std::string v(version);
    return "http://" + std::string(server) + "/pub/videolan/vlc/" + v + "/win32/vlc-" + v + "-win32.zip";
}

TDownloadPaths DownloadPaths(const std::string& folder) {
    const std::string base = engine::IncludeTrailingPathDelimiter(folder);
    TDownloadPaths paths;
    paths.ZipFileName = base + kZipFileName;
    paths.ZipDirValue = base + kUnzipFolderName;
    paths.UnzipDir = engine::IncludeTrailingPathDelimiter(paths.ZipDirValue);
    return paths;
}

std::string SystemTempFolder() {
    std::error_code ec;
    std::string temp = std::filesystem::temp_directory_path(ec).string();
    if (ec || temp.empty()) temp = "/tmp";
    return engine::IncludeTrailingPathDelimiter(temp);
}

std::string ReleaseSourceFolder(const std::string& unzipDir, std::string_view version) {
    return engine::IncludeTrailingPathDelimiter(unzipDir) + kReleaseFolderPrefix + std::string(version) + "/";
}

std::string DownloadSizeText(int64_t bytes, char separator) {
    int64_t kilo = bytes / 1000;
    const int64_t rest = bytes % 1000;
    // Halves go to the even neighbour; a negative size (no length known) rounds the same way.
    if (rest > 500 || (rest == 500 && kilo % 2 != 0)) ++kilo;
    if (rest < -500 || (rest == -500 && kilo % 2 != 0)) --kilo;
    const bool negative = kilo < 0;
    const std::string digits = std::to_string(negative ? -kilo : kilo);
    return "Download " + std::string(negative ? "-" : "") + engine::GroupNumStr(digits, 3, separator) + " kByte";
}

}  // namespace hollarin
