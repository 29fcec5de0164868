// The content type of a served file, by its extension: our own list first (the types the shares
// publish, whatever the system's table says), then the system's registered types, then
// "application/octet-stream".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine {

class TMimeTypeTable {
public:
    static constexpr const char* kSystemTableFile = "/etc/mime.types";
    static constexpr const char* kUnknownType = "application/octet-stream";

    // Reads systemTable (lines "type ext ext ..."); a missing or unreadable table leaves the own list.
    explicit TMimeTypeTable(const std::filesystem::path& systemTable = kSystemTableFile);

    // The type for fileName's extension, compared without regard to case.
    std::string GetMimeType(std::string_view fileName) const;

    // The table every web server shares, read once on first use.
    static const TMimeTypeTable& Shared();

private:
    std::unordered_map<std::string, std::string> byExtension_;  // lower-case extension without dot
};

}  // namespace engine
