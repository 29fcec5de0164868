// Where a snapshot thread takes its pictures from: the capture graph of the job, or a fake in tests.
#pragma once

#include "platform/filters/BmpCodec.h"

namespace engine {

class ISnapshotSource {
public:
    virtual ~ISnapshotSource() = default;
    // The latest picture into picture; false when there is none (graph not running, no new frame).
    // Called on the snapshot thread.
    virtual bool GetImage(platform::TBitmap& picture) = 0;
};

}  // namespace engine
