// What the capture-service editor edits and reaches: a working copy of an entry's capture job (its
// settings and internal port) with the job's share list, the lists of the program, the share editor,
// the pickers, the file chooser, the capture panel's share tabs, the help and the program's
// catch-all error handler.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "app/lists/capture_list.h"
#include "app/lists/web_socket_list.h"

namespace app {

class IFileChooser;
class IShareTabs;
class TScreenCapture_StreameSet_Form;
class TWndArea_Form;
class TWndList_Form;

// The parts of a capture job the editor writes. InternalPort may be none (a job that has no port yet).
struct TCaptureJobView {
    engine::TScreenCaptureParams* Params = nullptr;
    engine::TShareList* Streamers = nullptr;
    int32_t* InternalPort = nullptr;
    explicit operator bool() const { return Params && Streamers; }
};

// What an open editor edits of one capture job: a copy of its stored settings and internal port, taken
// when the edit begins, and the job's own share list (each share is edited by the share editor together
// with its status tab). OK writes the copy back into the job once; Cancel drops it, so an open editor
// never changes the job's settings. What the job works out while it runs is never copied.
class TCaptureWorkingCopy {
public:
    void Take(std::shared_ptr<engine::TScreenCapture> job);
    // The copy, when it was taken of entry's job; empty otherwise.
    TCaptureJobView ViewOf(const TCaptureListEntry& entry);
    // Into the job it was taken of, which then finds a captured window again by the class and caption
    // written; the copy is then dropped.
    void WriteBack();
    void Drop();

private:
    std::shared_ptr<engine::TScreenCapture> job_;
    engine::TScreenCaptureParams params_;
    int32_t internalPort_ = 0;
};

struct TCaptureEditorContext {
    TCaptureList* CaptureList = nullptr;
    const TWebSocketList* WebSocketList = nullptr;
    // What the editor edits of an entry's job (a working copy); empty: nothing.
    std::function<TCaptureJobView(TCaptureListEntry& entry)> JobOf;
    TScreenCapture_StreameSet_Form* ShareEditor = nullptr;
    TWndList_Form* WndList = nullptr;
    TWndArea_Form* WndArea = nullptr;
    IFileChooser* FileChooser = nullptr;
    IShareTabs* ShareTabs = nullptr;  // none: no capture panel shows the job's shares
    std::function<void(const QString& anchor)> ShowHelp;
    // The program's catch-all error handler, for an error that reached no handler of its own
    // ("General error : " + message).
    std::function<void(const std::string& message)> ReportError;
};

}  // namespace app
