#include "app/lists/web_socket_list.h"

#include <algorithm>

#include "engine/settings/counters.h"
#include "engine/settings/settings.h"

namespace app {

void TWebSocketList::Append(std::shared_ptr<TWebSocketEntry> entry) {
    if (entry) items_.push_back(std::move(entry));
}

void TWebSocketList::Remove(const TWebSocketEntry* entry) {
    std::erase_if(items_, [&](const auto& e) { return e.get() == entry; });
}

std::shared_ptr<TWebSocketEntry> TWebSocketList::Find(int32_t idx) const {
    if (idx < 0) return nullptr;
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& e) { return e->Idx == idx; });
    return it == items_.end() ? nullptr : *it;
}

bool TWebSocketList::IsUnique(const TWebSocketEntry& entry) const {
    return std::none_of(items_.begin(), items_.end(), [&](const auto& e) {
        return e.get() != &entry && e->Addr == entry.Addr && e->Port == entry.Port;
    });
}

bool TWebSocketList::IsAddrFree(int32_t addr, int32_t port) const {
    return std::none_of(items_.begin(), items_.end(), [&](const auto& e) { return e->Addr == addr && e->Port == port; });
}

std::shared_ptr<TWebSocketEntry> InitWebSocketEntry(const TWebSocketList& list,
                                                    std::unique_ptr<engine::TWebSocketFilterGraph> graph) {
    auto entry = std::make_shared<TWebSocketEntry>();
    entry->Idx = engine::NextWebSocketIndex();
    entry->Addr = engine::kLoopbackAddress;
    entry->Port = kDefaultWebSocketPort;
    entry->Active = false;
    entry->Name = "Web-Socket_" + std::to_string(list.Count());
    entry->Graph = std::move(graph);
    return entry;
}

}  // namespace app
