// HttpServerList: the web servers in display order. It is also the list the capture.xml reader binds
// shares to their web servers with.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/lists/http_server_entry.h"

namespace app {

class THttpServerList final : public engine::IShareHttpServerList {
public:
    const std::vector<std::shared_ptr<THttpServerEntry>>& Items() const { return items_; }
    size_t Count() const { return items_.size(); }
    void Append(std::shared_ptr<THttpServerEntry> entry);
    // Removes the entry; shares still bound to it keep it alive until they let go.
    void Remove(const THttpServerEntry* entry);
    void Clear() { items_.clear(); }

    // FindHttpServerEntry: the first entry whose server listens on ipAddr:port, or none.
    std::shared_ptr<engine::IShareHttpServer> Find(int32_t ipAddr, int32_t port) const override;
    std::shared_ptr<engine::IShareHttpServer> First() const override;
    std::shared_ptr<THttpServerEntry> FindEntry(int32_t ipAddr, int32_t port) const;
    // False when an entry's server has that port and its address, as dotted text, is ipText.
    bool IsWebServerUnique(const std::string& ipText, int32_t port) const;

private:
    std::vector<std::shared_ptr<THttpServerEntry>> items_;
};

}  // namespace app
