#include "app/windows/editors/CaptureEditorContext.h"

#include "engine/capture/job/ScreenCapture.h"

namespace app {

TCaptureJobView JobViewOf(engine::TScreenCapture& job) { return {&job.Params, job.Streamers.get(), &job.InternalPort}; }

TCaptureJobView JobViewOf(TCaptureListEntry& entry) { return {&entry.Params, entry.Streamers.get(), nullptr}; }

}  // namespace app
