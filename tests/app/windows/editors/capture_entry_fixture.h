// A capture service as the program lists it, for the tests of the capture-service editor and of the
// share editor it opens: the entry owns a job whose new shares get the defaults below, and the editor
// edits a working copy of that job, as in the program.
#pragma once

#include <memory>

#include "app/lists/capture_list.h"
#include "app/windows/editors/CaptureEditorContext.h"
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

}  // namespace fw_test
