#include "app/lists/http_server_list_file.h"

#include <limits>

#include "app/lists/list_entry_checks.h"
#include "app/lists/list_file_store.h"
#include "app/lists/list_values.h"
#include "engine/settings/counters.h"
#include "engine/settings/settings_store.h"

namespace app {
namespace {

constexpr const char* kFileList = "FileList";
constexpr TListFileFormat kFormat{"HTTP_SERVER_LIST", "HTTP_SERVER_LIST_ENTRY", kMaxListEntries, {kFileList}};
constexpr const char* kFileListEntry = "FileListEntry";

std::shared_ptr<THttpServerEntry> ReadEntry(pugi::xml_node node, IListFileHost& host) {
    auto entry = std::make_shared<THttpServerEntry>(host.CreateHttpServer(0), false);
    engine::TCaptureHttpServer& server = *entry->Server;
    const TListEntryReader r(node);
    int32_t value = 0;
    if (r.ReadInt("idx", value)) {
        server.SetIdx(value);
        if (value < std::numeric_limits<int32_t>::max()) engine::SetNextHttpServerIndex(value + 1);
    }
    if (r.ReadAddress("ipaddr", value)) server.SetIpAddr(static_cast<uint32_t>(value));
    if (r.ReadInt("port", value) &&
        CheckPort("[httpserv.xml] web server " + std::to_string(server.Idx()) + " port", value, server.Port()))
        server.SetPort(value);
    r.ReadText("root", server.Root);
    r.ReadBool("auto", entry->AutoStart);
    r.ReadBool("ExtHttpServer", server.ExtHttpServer);
    r.ReadBool("Authentication", server.Authentication);
    r.ReadText("User", server.User);
    r.ReadText("Pw", server.Password);
    if (const auto indexHtml = r.Text("IndexHtml")) server.SetIndexHtml(*indexHtml);
    for (pugi::xml_node file : node.child(kFileList).children(kFileListEntry)) server.FileList.emplace_back(file.text().get());
    return entry;
}

void AddDefaultServer(IListFileHost& host, THttpServerList& list) {
    const auto settings = engine::Settings();
    auto server = host.CreateHttpServer(engine::NextHttpServerIndex());
    server->SetIpAddr(static_cast<uint32_t>(settings->Ip));
    server->SetPort(settings->Port);
    server->Root = settings->Root;
    list.Append(std::make_shared<THttpServerEntry>(std::move(server), /*autoStart=*/true));
}

}  // namespace

void LoadHttpServerList(engine::TXmlDocPool* pool, const std::string& path, IListFileHost& host, THttpServerList& list) {
    LoadListFile(pool, path, kFormat, [&](pugi::xml_node node) { list.Append(ReadEntry(node, host)); });
    if (list.Count() == 0) AddDefaultServer(host, list);
}

bool SaveHttpServerList(engine::TXmlDocPool* pool, const std::string& path, const THttpServerList& list) {
    return SaveListFile(pool, path, kFormat, [&](pugi::xml_node root) {
        for (const auto& entry : list.Items()) {
            if (!entry->Server) continue;
            const engine::TCaptureHttpServer& server = *entry->Server;
            TListEntryWriter w(root.append_child(kFormat.EntryName));
            w.Int("idx", server.Idx());
            w.Int("ipaddr", static_cast<int32_t>(server.IpAddr()));
            w.Int("port", server.Port());
            w.Text("root", server.Root);
            w.Bool("auto", entry->AutoStart);
            w.Bool("ExtHttpServer", server.ExtHttpServer);
            w.Bool("Authentication", server.Authentication);
            w.Text("User", server.User);
            w.Text("Pw", server.Password);
            w.Text("IndexHtml", server.IndexHtml());
            pugi::xml_node files = root.last_child().append_child(kFileList);
            for (const std::string& file : server.FileList) files.append_child(kFileListEntry).text().set(file.c_str());
        }
    });
}

}  // namespace app
