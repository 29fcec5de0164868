// What the capture-service editor edits and reaches: the capture job of an entry (its settings, share
// list and internal port), the lists of the program, the share editor, the pickers, the file chooser,
// the capture panel's share tabs, the help and the program's error road.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "app/lists/capture_list.h"
#include "app/lists/web_socket_list.h"

namespace engine {
class TScreenCapture;
}

namespace app {

class IFileChooser;
class IShareTabs;
class TScreenCapture_StreameSet_Form;
class TWndArea_Form;
class TWndList_Form;

// The parts of a capture job the editor writes. InternalPort may be none (a job that has no port yet).
struct TCaptureJobView {
    engine::TScreenCaptureParams* Params = nullptr;
    engine::TStreamerList* Streamers = nullptr;
    int32_t* InternalPort = nullptr;
    explicit operator bool() const { return Params && Streamers; }
};

// A running program's job.
TCaptureJobView JobViewOf(engine::TScreenCapture& job);
// An entry without a job: the settings it keeps and its share list (no internal port).
TCaptureJobView JobViewOf(TCaptureListEntry& entry);

struct TCaptureEditorContext {
    TCaptureList* CaptureList = nullptr;
    const TWebSocketList* WebSocketList = nullptr;
    // The job of an entry; empty: the entry's own settings and shares.
    std::function<TCaptureJobView(TCaptureListEntry& entry)> JobOf;
    TScreenCapture_StreameSet_Form* ShareEditor = nullptr;
    TWndList_Form* WndList = nullptr;
    TWndArea_Form* WndArea = nullptr;
    IFileChooser* FileChooser = nullptr;
    IShareTabs* ShareTabs = nullptr;  // none: no capture panel shows the job's shares
    std::function<void(const QString& anchor)> ShowHelp;
    // The program's road for an error that reached no handler of its own ("General error : " + message).
    std::function<void(const std::string& message)> ReportError;
};

}  // namespace app
