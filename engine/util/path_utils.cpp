#include "engine/util/path_utils.h"

#include <filesystem>
#include <system_error>

namespace engine {

bool HasTrailingPathDelimiter(std::string_view path) { return !path.empty() && path.back() == kPathDelimiter; }

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string result(path);
    if (!result.empty() && !HasTrailingPathDelimiter(result)) result += kPathDelimiter;
    return result;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
    std::string result(path);
    while (result.size() > 1 && HasTrailingPathDelimiter(result)) result.pop_back();
    return result;
}

std::string ExtractFileName(std::string_view path) {
    size_t slash = path.rfind(kPathDelimiter);
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtractFilePath(std::string_view path) {
    size_t slash = path.rfind(kPathDelimiter);
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtractFileExt(std::string_view path) {
    std::string name = ExtractFileName(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ProgramFilePath() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string ProgramFolder() { return ExtractFilePath(ProgramFilePath()); }

}  // namespace engine
