// WebSocketList: the web sockets in display order, with the lookups of the dialogs.
#pragma once

#include <memory>
#include <vector>

#include "app/lists/web_socket_entry.h"

namespace app {

class TWebSocketList {
public:
    const std::vector<std::shared_ptr<TWebSocketEntry>>& Items() const { return items_; }
    size_t Count() const { return items_.size(); }
    void Append(std::shared_ptr<TWebSocketEntry> entry);
    // Removes the entry (no effect for one that is not listed); captures linked to it then have none.
    void Remove(const TWebSocketEntry* entry);
    void Clear() { items_.clear(); }

    // The first entry with that Idx; none for a negative Idx.
    std::shared_ptr<TWebSocketEntry> Find(int32_t idx) const;
    // False when another entry (not entry itself) has the same address and port.
    bool IsUnique(const TWebSocketEntry& entry) const;
    // False when any entry has that address and port.
    bool IsAddrFree(int32_t addr, int32_t port) const;

private:
    std::vector<std::shared_ptr<TWebSocketEntry>> items_;
};

// A new web socket: the next web-socket index, 127.0.0.1:8080, off, named "Web-Socket_" + the number of
// entries listed now (the caller appends it afterwards), with graph as its audio graph.
std::shared_ptr<TWebSocketEntry> InitWebSocketEntry(const TWebSocketList& list,
                                                    std::unique_ptr<engine::TWebSocketFilterGraph> graph);

}  // namespace app
