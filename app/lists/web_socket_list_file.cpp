#include "app/lists/web_socket_list_file.h"

#include "app/lists/list_entry_checks.h"
#include "app/lists/list_file_store.h"
#include "app/lists/list_values.h"
#include "engine/settings/counters.h"

namespace app {
namespace {

constexpr TListFileFormat kFormat{"WEB_SOCKET_LIST", "WEB_SOCKET_LIST_ENTRY"};

}  // namespace

void LoadWebSocketList(engine::TXmlDocPool* pool, const std::string& path, IListFileHost& host, TWebSocketList& list) {
    LoadListFile(pool, path, kFormat, [&](pugi::xml_node node) {
        auto entry = std::make_shared<TWebSocketEntry>();
        entry->Graph = host.CreateWebSocketGraph();
        const TListEntryReader r(node);
        // idx is read as a 64-bit number of which the low 32 bits count.
        if (const auto idx = r.Integer("idx")) entry->Idx = static_cast<int32_t>(static_cast<uint32_t>(*idx));
        engine::SetNextWebSocketIndex(static_cast<int32_t>(static_cast<uint32_t>(entry->Idx) + 1u));
        r.ReadAddress("iAddr", entry->Addr);
        r.ReadInt("iPort", entry->Port);
        r.ReadText("sName", entry->Name);
        r.ReadBool("bAct", entry->Active);
        CheckPort("[wsocket.xml] web socket " + std::to_string(entry->Idx) + " iPort", entry->Port,
                  kDefaultWebSocketPort);
        list.Append(std::move(entry));
    });
}

bool SaveWebSocketList(engine::TXmlDocPool* pool, const std::string& path, const TWebSocketList& list) {
    return SaveListFile(pool, path, kFormat, [&](pugi::xml_node root) {
        for (const auto& entry : list.Items()) {
            TListEntryWriter w(root.append_child(kFormat.EntryName));
            w.Int("idx", entry->Idx);
            w.Int("iAddr", entry->Addr);
            w.Int("iPort", entry->Port);
            w.Text("sName", entry->Name);
            w.Bool("bAct", entry->Active);
        }
    });
}

}  // namespace app
