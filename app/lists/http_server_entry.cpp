#include "app/lists/http_server_entry.h"

#include "engine/util/path_utils.h"

namespace app {

int32_t THttpServerEntry::IpAddr() const { return Server ? static_cast<int32_t>(Server->IpAddr()) : 0; }

int32_t THttpServerEntry::Port() const { return Server ? Server->Port() : 0; }

std::string THttpServerEntry::Root() const {
    return Server && !Server->Root.empty() ? engine::IncludeTrailingPathDelimiter(Server->Root) : std::string();
}

std::string THttpServerEntry::IndexHtml() const { return Server ? Server->IndexHtml() : std::string(); }

std::string THttpServerEntry::DefaultIndexFile() const { return Server ? Server->DefaultIndexFile() : std::string(); }

std::vector<std::string> THttpServerEntry::FileList() const {
    return Server ? Server->FileList : std::vector<std::string>();
}

}  // namespace app
