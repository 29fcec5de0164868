#include "app/lists/capture_list_file.h"

#include "app/lists/list_entry_checks.h"
#include "app/lists/list_file_store.h"
#include "app/lists/list_values.h"
#include "engine/capture/settings/ScreenCaptureXml.h"

namespace app {
namespace {

// The shares of each capture service, and each share's extra files.
constexpr TListFileFormat kFormat{"CAPTURE_LIST", "CAPTURE_LIST_ENTRY", kMaxCaptureServices,
                                  {"streamer_list", "FileList"}};
constexpr const char* kParamsElement = "SCREENCAPTURE_PARAMS";
constexpr int32_t kNoWebSocket = -1;

}  // namespace

void LoadCaptureList(engine::TXmlDocPool* pool, const std::string& path, IListFileHost& host,
                     const THttpServerList& servers, const TWebSocketList& sockets, TCaptureList& list) {
    LoadListFile(pool, path, kFormat, [&](pugi::xml_node node) {
        std::unique_ptr<TCaptureListEntry> entry = host.InitCaptureEntry();
        entry->WebSocket.reset();
        entry->WebSocketAct = false;
        const TListEntryReader r(node);
        r.ReadText("name", entry->Name);
        r.ReadBool("minimized", entry->Minimized);
        r.ReadBool("autostart", entry->AutoStart);
        if (pugi::xml_node params = node.child(kParamsElement)) {
            entry->Params = engine::LoadCaptureParamsFromXml(params, *entry->Streamers, &servers);
            CheckCaptureValues("capture " + std::to_string(entry->Idx) + " \"" + entry->Name + "\"", entry->Params,
                               *entry->Streamers);
        }
        r.ReadBool("webSocketAct", entry->WebSocketAct);
        int32_t socketIdx = kNoWebSocket;
        r.ReadInt("webSocketIdx", socketIdx);
        entry->WebSocket = sockets.Find(socketIdx);  // none for kNoWebSocket
        host.CaptureEntryLoaded(list.Append(std::move(entry)));
    });
}

bool SaveCaptureList(engine::TXmlDocPool* pool, const std::string& path, const TCaptureList& list) {
    return SaveListFile(pool, path, kFormat, [&](pugi::xml_node root) {
        for (const auto& entry : list.Items()) {
            pugi::xml_node node = root.append_child(kFormat.EntryName);
            TListEntryWriter w(node);
            w.Text("name", entry->Name);
            w.Bool("minimized", entry->Minimized);
            w.Bool("autostart", entry->AutoStart);
            pugi::xml_node params = node.append_child(kParamsElement);
            if (entry->Streamers) engine::SaveCaptureParamsToXml(params, entry->Params, *entry->Streamers);
            w.Bool("webSocketAct", entry->WebSocketAct);
            const std::shared_ptr<TWebSocketEntry> socket = entry->WebSocket.lock();
            w.Int("webSocketIdx", socket ? socket->Idx : kNoWebSocket);
        }
    });
}

}  // namespace app
