// capture.xml: CAPTURE_LIST with one CAPTURE_LIST_ENTRY per capture service (name, minimized, autostart,
// SCREENCAPTURE_PARAMS, webSocketAct, webSocketIdx).
#pragma once

#include <memory>
#include <string>

#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/lists/list_file_host.h"
#include "app/lists/web_socket_list.h"
#include "engine/util/xml_doc_pool.h"

namespace app {

// A new capture service: its index from NextCaptureIndex, its job made by host.
std::unique_ptr<TCaptureListEntry> NewCaptureEntry(IListFileHost& host);

// Appends the file's capture services, each with its job read from its block; nothing else is done
// with them here (the owner prepares the jobs and makes the panels once the list is read). Shares are bound to the web servers of servers and services to
// the web sockets of sockets, so both lists are read first. Values no code knows are replaced by their
// defaults (logged).
void LoadCaptureList(engine::TXmlDocPool* pool, const std::string& path, IListFileHost& host,
                     const THttpServerList& servers, const TWebSocketList& sockets, TCaptureList& list);
bool SaveCaptureList(engine::TXmlDocPool* pool, const std::string& path, const TCaptureList& list);

}  // namespace app
