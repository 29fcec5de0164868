#include "app/lists/capture_list.h"

#include <algorithm>

namespace app {
namespace {

template <class Pred>
bool AnyShare(const std::vector<std::unique_ptr<TCaptureListEntry>>& items, Pred pred) {
    for (const auto& entry : items)
        if (entry->Capture)
            for (const engine::PCaptureStreamer& share : entry->Capture->Streamers->Items())
                if (pred(*share)) return true;
    return false;
}

}  // namespace

TCaptureListEntry& TCaptureList::Append(std::unique_ptr<TCaptureListEntry> entry) {
    items_.push_back(std::move(entry));
    return *items_.back();
}

void TCaptureList::Remove(const TCaptureListEntry* entry) {
    std::erase_if(items_, [&](const auto& e) { return e.get() == entry; });
}

bool TCaptureList::IsWebServerInUse(const THttpServerEntry& server) const {
    return AnyShare(items_, [&](const engine::TCaptureStreamer& s) { return s.HttpServer.get() == &server; });
}

bool TCaptureList::IsShareFolderFree(const engine::TCaptureStreamer* share, const THttpServerEntry* server,
                                     const std::string& subDir) const {
    if (!server) return true;
    const std::string root = server->Root();
    return !AnyShare(items_, [&](const engine::TCaptureStreamer& s) {
        return &s != share && s.HttpServer && s.HttpServer->Root() == root && s.SubDir == subDir;
    });
}

}  // namespace app
