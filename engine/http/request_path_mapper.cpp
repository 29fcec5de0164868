#include "engine/http/request_path_mapper.h"

#include "platform/util/ascii_case.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <optional>
#include <vector>

namespace engine {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFolderIndexFile = "index.html";

// Escapes that would turn into a separator or terminator only after decoding.
constexpr std::array<std::string_view, 3> kRefusedEscapes = {"%2f", "%5c", "%00"};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = platform::AsciiLower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ContainsRefusedEscape(std::string_view rawPath) {
    const std::string lower = platform::AsciiLower(rawPath);
    return std::any_of(kRefusedEscapes.begin(), kRefusedEscapes.end(),
                       [&](std::string_view e) { return lower.find(e) != std::string::npos; });
}

// The canonical form of path, resolving the links of its existing part; empty when that fails
// (a link loop, a component that is no folder, no permission).
fs::path CanonicalOf(const fs::path& path) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(path, ec);
    return ec ? fs::path() : canonical;
}

TMappedPath Verdict(TPathVerdict verdict, fs::path path = {}) { return {verdict, std::move(path)}; }

// Containment first, existence afterwards, so a path outside the root never reaches the second test.
TMappedPath CheckCanonically(const fs::path& canonicalRoot, const fs::path& candidate, bool& isFolder) {
    fs::path canonical = CanonicalOf(candidate);
    if (canonical.empty() || !IsWithinRoot(canonicalRoot, canonical)) return Verdict(TPathVerdict::Forbidden);
    std::error_code ec;
    fs::file_status status = fs::status(canonical, ec);
    if (ec || !fs::exists(status)) return Verdict(TPathVerdict::NotFound);
    isFolder = fs::is_directory(status);
    return Verdict(TPathVerdict::Found, canonical);
}

// The common case cheaply: "." and ".." are refused before, so when no entry below the canonical
// folder `base` is a symbolic link, base + segments is already canonical and inside it. One lstat per
// segment instead of resolving the whole path from "/". Returns nothing when it cannot tell (a link,
// a folder it may not look into): the caller then resolves the canonical path.
std::optional<TMappedPath> CheckWithoutLinks(const fs::path& base, const std::vector<std::string_view>& segments,
                                             bool& isFolder) {
    std::string path = base.native();
    struct stat st {};
    if (segments.empty()) {
        if (::stat(path.c_str(), &st) != 0) return std::nullopt;
        isFolder = S_ISDIR(st.st_mode);
        return Verdict(TPathVerdict::Found, base);
    }
    for (std::string_view segment : segments) {
        if (path.empty() || path.back() != '/') path += '/';
        path.append(segment);
        if (::lstat(path.c_str(), &st) != 0) {
            // What is missing below the root is not there, whatever follows it.
            if (errno == ENOENT || errno == ENOTDIR) return Verdict(TPathVerdict::NotFound);
            return std::nullopt;
        }
        if (S_ISLNK(st.st_mode)) return std::nullopt;
    }
    isFolder = S_ISDIR(st.st_mode);
    return Verdict(TPathVerdict::Found, fs::path(std::move(path)));
}

TMappedPath CheckCandidate(const fs::path& base, const std::vector<std::string_view>& segments,
                           const fs::path& canonicalRoot, bool& isFolder) {
    if (std::optional<TMappedPath> quick = CheckWithoutLinks(base, segments, isFolder)) return *quick;
    fs::path candidate = base;
    for (std::string_view segment : segments) candidate /= fs::path(std::string(segment));
    return CheckCanonically(canonicalRoot, candidate, isFolder);
}

}  // namespace

std::string_view TargetPath(std::string_view target) { return target.substr(0, target.find('?')); }

std::string_view TargetQuery(std::string_view target) {
    size_t mark = target.find('?');
    return mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
}

bool PercentDecode(std::string_view text, bool plusIsSpace, std::string& decoded) {
    decoded.clear();
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
            int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
            if (high < 0 || low < 0) return false;
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (c == '+' && plusIsSpace) {
            decoded += ' ';
        } else {
            decoded += c;
        }
    }
    return true;
}

bool IsWithinRoot(const fs::path& canonicalRoot, const fs::path& path) {
    auto rootIt = canonicalRoot.begin();
    auto pathIt = path.begin();
    for (; rootIt != canonicalRoot.end(); ++rootIt, ++pathIt) {
        if (rootIt->empty()) break;  // a trailing separator of the root adds an empty last component
        if (pathIt == path.end() || *pathIt != *rootIt) return false;
    }
    return true;
}

TMappedPath MapRequestPath(const fs::path& canonicalRoot, std::string_view rawPath) {
    if (rawPath.empty() || rawPath.front() != '/') return Verdict(TPathVerdict::Forbidden);
    if (ContainsRefusedEscape(rawPath)) return Verdict(TPathVerdict::Forbidden);
    std::string decoded;
    if (!PercentDecode(rawPath, false, decoded)) return Verdict(TPathVerdict::BadRequest);
    if (decoded.find('\0') != std::string::npos || decoded.find('\\') != std::string::npos ||
        decoded.find("//") != std::string::npos) {
        return Verdict(TPathVerdict::Forbidden);
    }

    std::vector<std::string_view> segments;
    std::string_view rest = std::string_view(decoded).substr(1);
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view segment = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (segment == "." || segment == "..") return Verdict(TPathVerdict::Forbidden);
        if (!segment.empty()) segments.push_back(segment);
    }

    bool isFolder = false;
    TMappedPath mapped = CheckCandidate(canonicalRoot, segments, canonicalRoot, isFolder);
    if (mapped.Verdict != TPathVerdict::Found || !isFolder) return mapped;
    // A folder means its index.html; the index itself may be a link and is checked like any request.
    return CheckCandidate(mapped.Path, {kFolderIndexFile}, canonicalRoot, isFolder);
}

}  // namespace engine
