// What the settings dialog needs of the main window, which owns the three lists and the engine
// objects: new and freed entries, the capture-service editor, the libVLC download, the help and the
// program's end. The dialog itself changes the lists (capture services under GlobalLock, as the web
// servers walk them) and has capture.xml written after each capture change. Tests use a small fake.
#pragma once

#include <memory>
#include <string>

#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/lists/list_file_host.h"
#include "app/lists/web_socket_list.h"

namespace app {

class ISettingsFormHost : public IListFileHost {
public:
    virtual TCaptureList& CaptureList() = 0;
    virtual THttpServerList& HttpServerList() = 0;
    virtual TWebSocketList& WebSocketList() = 0;

    // A new capture service with its job and its panel, not yet listed.
    virtual std::unique_ptr<TCaptureListEntry> InitCaptureEntry() = 0;
    // The dialog's new capture service after its editor's OK: its job prepared, its panel filled.
    virtual void CaptureEntryAdded(TCaptureListEntry& entry) = 0;

    // The capture-service editor, modal, for entry. isNew: the editor starts from InitEditor(entry);
    // otherwise it loads the entry's job (LoadCapture), its name, its index (two digits) and its
    // auto-start flag, with the method choice disabled until the editor closes. On OK the editor has
    // stored into the entry (StoreCapture, Name, AutoStart) and the result is true.
    virtual bool RunCaptureEditor(TCaptureListEntry& entry, bool isNew) = 0;
    // Writes capture.xml from what the capture services hold now: the editor edits their jobs.
    virtual bool SaveCaptureList() = 0;
    // The number of shares of an entry's job.
    virtual size_t ShareCount(const TCaptureListEntry& entry) = 0;
    // Frees what the main window made for a capture service (its panel and status tabs, its job, the
    // shares' workers) and takes the entry off the list: the entry is gone afterwards.
    virtual void FreeCaptureEntry(TCaptureListEntry& entry) = 0;
    // Stops and frees a web server's server; the dialog then removes the entry from the list.
    virtual void FreeHttpServerEntry(THttpServerEntry& entry) = 0;
    // Frees a web socket's audio graph and clears its name; the dialog then removes it from the list.
    virtual void FreeWebSocketEntry(TWebSocketEntry& entry) = 0;

    // Starts the libVLC installer (or says that it is missing).
    virtual void StartDownloader() = 0;
    // Ends this program at once, without saving anything (after StartDownloader).
    virtual void KillOwnProcess() = 0;
    // Closes the main window, which ends the program as its own closing does ("Leave App").
    virtual void CloseMainWindow() = 0;
    virtual void ShowHelp(const std::string& anchor) = 0;
};

}  // namespace app
