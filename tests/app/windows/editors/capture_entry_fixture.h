// A capture service as the program lists it, for the tests of the capture-service editor and of the
// share editor it opens: the entry owns a job whose new shares get the defaults below, and the editor
// edits a working copy of that job, as in the program; and that editor opened for a new service.
#pragma once

#include <memory>

#include "app/lists/capture_list.h"
#include "app/windows/editors/CaptureEditorContext.h"
#include "app/windows/editors/CaptureSettings_Form.h"
#include "engine/capture/job/ScreenCapture.h"
#include "tests/support/test_env.h"

namespace fw_test {

inline engine::TShareDefaults ShareDefaultsIn(const TempDir& dir) {
    engine::TShareDefaults defaults;
    defaults.HtmlDir = (dir.path() / "html").string() + "/";
    defaults.SubDir = "share";
    defaults.NextIndex = [n = 0]() mutable { return n++; };
    return defaults;
}

inline std::unique_ptr<app::TCaptureListEntry> EntryWithJob(int32_t idx, const TempDir& dir) {
    auto entry = std::make_unique<app::TCaptureListEntry>();
    entry->Idx = idx;
    engine::TScreenCaptureServices services;
    services.ShareDefaults = ShareDefaultsIn(dir);
    entry->Capture = engine::TScreenCapture::Create(idx, std::move(services));
    return entry;
}

// The capture editor edits the working copy of the job copy was taken of.
inline void EditThrough(app::TCaptureEditorContext& context, app::TCaptureWorkingCopy& copy) {
    context.JobOf = [&copy](app::TCaptureListEntry& entry) { return copy.ViewOf(entry); };
}

// The capture editor as the program opens it for a new capture service (appended to captures), whose
// "+" and share list open shareEditor.
struct TCaptureEditorOnNewService {
    TCaptureEditorOnNewService(app::TCaptureList& captures, app::TScreenCapture_StreameSet_Form& shareEditor,
                               const TempDir& dir)
        : Entry(captures.Append(EntryWithJob(0, dir))) {
        Copy.Take(Entry.Capture);
        app::TCaptureEditorContext context;
        EditThrough(context, Copy);
        context.CaptureList = &captures;
        context.ShareEditor = &shareEditor;
        Editor = std::make_unique<app::TCaptureSettings_Form>(context);
        Editor->Setup_ScreenCapture_Frame1->InitEditor(&Entry);
    }

    app::TCaptureListEntry& Entry;
    app::TCaptureWorkingCopy Copy;
    std::unique_ptr<app::TCaptureSettings_Form> Editor;
};

}  // namespace fw_test
