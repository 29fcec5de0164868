// CaptureList: the capture services in display order, with the lookups over all their shares.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/lists/capture_list_entry.h"
#include "app/lists/http_server_entry.h"

namespace app {

class TCaptureList {
public:
    const std::vector<std::unique_ptr<TCaptureListEntry>>& Items() const { return items_; }
    size_t Count() const { return items_.size(); }
    TCaptureListEntry& Append(std::unique_ptr<TCaptureListEntry> entry);
    void Remove(const TCaptureListEntry* entry);
    void Clear() { items_.clear(); }

    // True when any share of any capture service is bound to server.
    bool IsWebServerInUse(const THttpServerEntry& server) const;
    // False when another share (not share itself) is bound to a web server with the same root folder as
    // server's and has the sub-folder subDir (both compared exactly); true when server is none.
    bool IsShareFolderFree(const engine::TCaptureStreamer* share, const THttpServerEntry* server,
                           const std::string& subDir) const;

private:
    std::vector<std::unique_ptr<TCaptureListEntry>> items_;
};

}  // namespace app
