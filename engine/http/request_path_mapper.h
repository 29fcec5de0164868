// Maps the path of a request target onto a file below a web server's root folder.
//
// Every trick that could leave the root is refused before the file system is asked whether the file
// exists, so the answer for a file outside the root is the same whether or not it exists: encoded
// slashes and backslashes, "." and ".." segments (also encoded), backslashes, double slashes, NUL
// bytes, targets that do not begin with "/", and symbolic links that lead out of the root. Containment
// is tested component by component on the canonical path, with case.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace engine {

enum class TPathVerdict {
    Found,      // Path names an existing entry below the root (a folder request already means its index.html)
    NotFound,   // below the root, but nothing there (or a folder without index.html)
    Forbidden,  // outside the root or a refused form
    BadRequest  // not a valid percent-encoded path
};

struct TMappedPath {
    TPathVerdict Verdict = TPathVerdict::NotFound;
    std::filesystem::path Path;  // canonical; set for Found
};

// Splits a request target at "?" into its path and query parts.
std::string_view TargetPath(std::string_view target);
std::string_view TargetQuery(std::string_view target);

// Percent-decoding of a path or form text; false on a broken escape. With plusIsSpace "+" reads as " ".
bool PercentDecode(std::string_view text, bool plusIsSpace, std::string& decoded);

// True when path equals root or lies below it, compared component by component (both canonical).
bool IsWithinRoot(const std::filesystem::path& canonicalRoot, const std::filesystem::path& path);

// canonicalRoot must be the canonical path of an existing folder; rawPath is the target's path part
// as received (still percent-encoded).
TMappedPath MapRequestPath(const std::filesystem::path& canonicalRoot, std::string_view rawPath);

}  // namespace engine
