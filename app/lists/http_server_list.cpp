#include "app/lists/http_server_list.h"

#include <algorithm>

namespace app {

void THttpServerList::Append(std::shared_ptr<THttpServerEntry> entry) {
    if (entry) items_.push_back(std::move(entry));
}

void THttpServerList::Remove(const THttpServerEntry* entry) {
    std::erase_if(items_, [&](const auto& e) { return e.get() == entry; });
}

std::shared_ptr<THttpServerEntry> THttpServerList::FindEntry(int32_t ipAddr, int32_t port) const {
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& e) {
        return e->Server && e->IpAddr() == ipAddr && e->Port() == port;
    });
    return it == items_.end() ? nullptr : *it;
}

std::shared_ptr<engine::IShareHttpServer> THttpServerList::Find(int32_t ipAddr, int32_t port) const {
    return FindEntry(ipAddr, port);
}

std::shared_ptr<engine::IShareHttpServer> THttpServerList::First() const {
    return items_.empty() ? nullptr : items_.front();
}

bool THttpServerList::IsWebServerUnique(const std::string& ipText, int32_t port) const {
    return std::none_of(items_.begin(), items_.end(), [&](const auto& e) {
        return e->Server && e->Server->Port() == port && engine::IpAddrToText(e->Server->IpAddr()) == ipText;
    });
}

}  // namespace app
