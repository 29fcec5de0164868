// What the share editor and its parts reach: the web servers with the settings dialog's functions that
// add and edit one, the capture list (whose shares must not share a folder), the file chooser, the page
// editor, the help and the FTP check's session.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "engine/ftp/curl_ftp_session.h"

namespace app {

class IFileChooser;
class TCaptureList;
class THtml_Form;
class THttpServerEntry;
class THttpServerList;

struct TShareEditorContext {
    THttpServerList* HttpServers = nullptr;
    const TCaptureList* CaptureList = nullptr;   // for the check that a share folder is free
    IFileChooser* FileChooser = nullptr;         // the index.html and "Add File" buttons
    THtml_Form* HtmlForm = nullptr;              // "Edit Index-HTML"
    std::function<void()> AddHttpServer;                     // the settings dialog's Add
    std::function<void(THttpServerEntry& entry)> EditHttpServer;  // its Edit, Test button disabled
    std::function<void()> SaveHttpServerList;                // httpserv.xml
    std::function<void(const QString& anchor)> ShowHelp;
    // The FTP check's session; empty: the libcurl session.
    std::function<std::unique_ptr<engine::FtpSession>(const engine::FtpLogin& login)> MakeFtpSession;
};

}  // namespace app
