#include "engine/util/ftp_names.h"

#include "platform/util/ascii_case.h"

#include <algorithm>
#include <cctype>

namespace engine {
namespace {

constexpr std::string_view kTemporarySuffix = ".part";

bool HasControlChar(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

}  // namespace

std::string FtpServerAddress(std::string_view host) {
    const auto first = host.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    host = host.substr(first, host.find_last_not_of(' ') - first + 1);
    if (const auto scheme = host.find("://"); scheme != std::string_view::npos) host.remove_prefix(scheme + 3);
    host = host.substr(0, host.find('/'));
    if (host.empty() || HasControlChar(host) || host.find_first_of(" @\\") != std::string_view::npos) return {};
    return std::string(host);
}

bool IsSafeFtpName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           !HasControlChar(name);
}

std::string NormalizeMirrorHostDir(std::string_view hostDir) {
    std::string path = platform::AsciiLower(hostDir);
    std::replace(path.begin(), path.end(), '\\', '/');
    std::string normalized;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (end > start) normalized.append(path, start, end - start).push_back('/');
        start = end + 1;
    }
    return normalized;
}

bool IsSafeHostDir(std::string_view normalizedHostDir) {
    size_t start = 0;
    while (start < normalizedHostDir.size()) {
        const size_t end = normalizedHostDir.find('/', start);
        if (end == std::string_view::npos || !IsSafeFtpName(normalizedHostDir.substr(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::string AbsoluteHostDir(std::string_view normalizedHostDir) {
    if (normalizedHostDir.empty()) return "/";
    std::string path = "/";
    path.append(normalizedHostDir.substr(0, normalizedHostDir.size() - 1));
    return path;
}

std::string FtpTemporaryName(std::string_view name) {
    std::string temporary(name);
    temporary.append(kTemporarySuffix);
    return temporary;
}

std::string FtpNameOfTemporary(std::string_view temporary) {
    if (temporary.size() <= kTemporarySuffix.size() || !temporary.ends_with(kTemporarySuffix)) return {};
    return std::string(temporary.substr(0, temporary.size() - kTemporarySuffix.size()));
}

}  // namespace engine
