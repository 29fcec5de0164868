#include "app/startup/InstanceIndex.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <optional>

#include "engine/util/path_utils.h"
#include "platform/util/ascii_case.h"

namespace app {

namespace {

constexpr std::string_view kFolderMarker = "Instance_";
constexpr size_t kFolderDigits = 3;
constexpr std::string_view kArgumentMarker = "inst";
constexpr size_t kArgumentDigits = 4;

// The text as a whole number made of decimal digits only; none for anything else (empty, signs,
// blanks, letters), so a malformed number never becomes a negative or odd instance.
std::optional<int> DigitsValue(std::string_view text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    int value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value;
}

}  // namespace

int ComputeInstanceIndex(const std::string& programFile, const std::vector<std::string>& arguments) {
    int index = 0;
    const std::string folder = engine::ExtractFilePath(programFile);
    if (size_t at = folder.find(kFolderMarker); at != std::string::npos)
        index = DigitsValue(std::string_view(folder).substr(at + kFolderMarker.size(), kFolderDigits)).value_or(0);
    for (const std::string& argument : arguments) {
        if (!platform::StartsWithIgnoringCase(argument, kArgumentMarker)) continue;
        return DigitsValue(std::string_view(argument).substr(kArgumentMarker.size(), kArgumentDigits)).value_or(0);
    }
    return index;
}

int GetInstanceIndex(const std::vector<std::string>& arguments) {
    static std::once_flag once;
    static int index = 0;
    std::call_once(once, [&] { index = ComputeInstanceIndex(engine::ProgramFilePath(), arguments); });
    return index;
}

}  // namespace app
