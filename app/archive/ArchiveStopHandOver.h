// The main window's side of the disk guard: an archive host whose stop requests reach the
// user-interface thread as a posted message, and a copy of the capture services' indices that the
// window keeps current. The host may outlive this object (the archive thread holds it); requests made
// after this object has gone are dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/archive/ArchiveHost.h"

namespace platform {
class MessageTarget;
}

namespace app {

// The message that carries a stop request to the user-interface thread.
constexpr uint32_t kWmArchiveStopCaptures = 0xB810;

class TArchiveStopHandOver {
public:
    using TStopCaptures = std::function<void(const std::vector<int32_t>& captureIndices)>;

    // Made on the user-interface thread, which must run a Qt event loop; stopCaptures runs there, once
    // for all the requests that arrived since it last ran.
    explicit TArchiveStopHandOver(TStopCaptures stopCaptures);
    ~TArchiveStopHandOver();
    TArchiveStopHandOver(const TArchiveStopHandOver&) = delete;
    TArchiveStopHandOver& operator=(const TArchiveStopHandOver&) = delete;

    // The host to give the archive guard.
    std::shared_ptr<IArchiveHost> Host() const;
    // The capture services' indices in list order; the window sets them whenever the list changes.
    void SetCaptureIndices(std::vector<int32_t> indices);

    class TRelay;

private:
    std::shared_ptr<TRelay> relay_;
    std::unique_ptr<platform::MessageTarget> target_;
};

}  // namespace app
