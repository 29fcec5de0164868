#include "app/windows/editors/ShareEditRules.h"

#include <arpa/inet.h>

#include <algorithm>
#include <sstream>

#include "app/lists/http_server_entry.h"
#include "engine/http/capture_http_server.h"
#include "engine/util/ftp_names.h"
#include "engine/util/number_strings.h"
#include "engine/util/path_utils.h"

namespace app {

std::string NormalizeHostDir(const std::string& hostDir) {
    const std::string normalized = engine::NormalizeMirrorHostDir(hostDir);
    return normalized.empty() ? normalized : engine::ExcludeTrailingPathDelimiter(normalized);
}

std::string CleanSubDir(const std::string& subDir) {
    std::string result = subDir.substr(std::min(subDir.find_first_not_of(' '), subDir.size()));
    for (char& c : result)
        if (c == ' ') c = '_';
    return result;
}

bool IsSubDirInsideRoot(const std::string& subDir) {
    if (subDir.empty() || subDir.front() == '/' || subDir.front() == '\\') return false;
    std::string component;
    std::istringstream parts(subDir);
    while (std::getline(parts, component, '/'))
        if (component == "..") return false;
    return subDir.find('\\') == std::string::npos;
}

bool IsValidDottedIp(const std::string& text) {
    in_addr address{};
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

std::string WebServerChoiceText(const THttpServerEntry& entry, int position) {
    const bool external = entry.Server && entry.Server->ExtHttpServer;
    const std::string name = entry.Server ? entry.Server->Name() : std::string();
    return "[" + engine::ZeroPadStr(std::to_string(position), 2) + "] - " + (external ? "EXT - " : "") +
           engine::IpAddrToText(static_cast<uint32_t>(entry.IpAddr())) + ":" + std::to_string(entry.Port()) + " (" +
           name + ")";
}

}  // namespace app
