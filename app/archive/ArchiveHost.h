// What the archive thread needs of the main window: the capture services to stop when the disk runs
// short, and the hand-over of that stop to the user-interface thread, which alone may stop a capture
// job. Both may be called from any thread.
#pragma once

#include <cstdint>
#include <vector>

namespace app {

class IArchiveHost {
public:
    virtual ~IArchiveHost() = default;
    // TCaptureListEntry.Idx of every capture service, in list order (a copy).
    virtual std::vector<int32_t> CaptureIndices() = 0;
    // Returns at once; the user-interface thread later stops the capture jobs of these services (a job
    // that is stopped already stays so).
    virtual void StopCapturesForDiskSpace(const std::vector<int32_t>& captureIndices) = 0;
};

}  // namespace app
