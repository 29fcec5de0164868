#include "engine/http/mime_type_table.h"

#include "platform/util/ascii_case.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace engine {
namespace {

struct TBuiltInType {
    const char* Extension;
    const char* Type;
};

// Types the shares publish come first: Debian's table maps ".ts" to a translation-file type.
constexpr TBuiltInType kBuiltInTypes[] = {
    {"m3u8", "application/vnd.apple.mpegurl"},
    {"ts", "video/mp2t"},
    {"html", "text/html"},
    {"htm", "text/html"},
    {"css", "text/css"},
    {"js", "text/javascript"},
    {"json", "application/json"},
    {"txt", "text/plain"},
    {"xml", "text/xml"},
    {"jpg", "image/jpeg"},
    {"jpeg", "image/jpeg"},
    {"png", "image/png"},
    {"gif", "image/gif"},
    {"bmp", "image/bmp"},
    {"svg", "image/svg+xml"},
    {"ico", "image/x-icon"},
    {"mp4", "video/mp4"},
};

}  // namespace

TMimeTypeTable::TMimeTypeTable(const std::filesystem::path& systemTable) {
    for (const auto& entry : kBuiltInTypes) byExtension_.emplace(entry.Extension, entry.Type);
    std::ifstream in(systemTable);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string type;
        std::string extension;
        if (!(words >> type)) continue;
        while (words >> extension) byExtension_.emplace(platform::AsciiLower(extension), type);  // own list wins
    }
}

std::string TMimeTypeTable::GetMimeType(std::string_view fileName) const {
    std::string name = std::filesystem::path(fileName).filename().string();
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size()) return kUnknownType;
    auto found = byExtension_.find(platform::AsciiLower(std::string_view(name).substr(dot + 1)));
    return found == byExtension_.end() ? kUnknownType : found->second;
}

const TMimeTypeTable& TMimeTypeTable::Shared() {
    static const TMimeTypeTable table;
    return table;
}

}  // namespace engine
