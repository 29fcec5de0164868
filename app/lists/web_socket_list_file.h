// wsocket.xml: WEB_SOCKET_LIST with one WEB_SOCKET_LIST_ENTRY per web socket (idx, iAddr, iPort, sName,
// bAct).
#pragma once

#include <string>

#include "app/lists/list_file_host.h"
#include "app/lists/web_socket_list.h"
#include "engine/util/xml_doc_pool.h"

namespace app {

// Appends the file's web sockets; after each entry the web-socket counter follows its idx. A port
// outside 1..65535 becomes 8080, with a log line. The graphs are not built here.
void LoadWebSocketList(engine::TXmlDocPool* pool, const std::string& path, IListFileHost& host, TWebSocketList& list);
bool SaveWebSocketList(engine::TXmlDocPool* pool, const std::string& path, const TWebSocketList& list);

}  // namespace app
