// httpserv.xml: HTTP_SERVER_LIST with one HTTP_SERVER_LIST_ENTRY per web server (idx, ipaddr, port, root,
// auto, ExtHttpServer, Authentication, User, Pw, IndexHtml, FileList).
#pragma once

#include <string>

#include "app/lists/http_server_list.h"
#include "app/lists/list_file_host.h"
#include "engine/util/xml_doc_pool.h"

namespace app {

// Appends the file's web servers; after each entry the web-server counter follows its idx. A port
// outside 1..65535 keeps the server's default port, with a log line. When the list is still empty
// afterwards, one default web server is added (the [Http] address, port and root, started with all).
void LoadHttpServerList(engine::TXmlDocPool* pool, const std::string& path, IListFileHost& host, THttpServerList& list);
// Writes every entry that has a server.
bool SaveHttpServerList(engine::TXmlDocPool* pool, const std::string& path, const THttpServerList& list);

}  // namespace app
