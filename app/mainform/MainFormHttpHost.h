// The web servers' way back to the main window: the share lookup by request path and the window that
// receives their notifications. The servers hold it through std::shared_ptr and may outlive the
// window's lists; once the window lets go (Detach) the lookup finds nothing.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "engine/http/http_server_host.h"

namespace app {

class TMainFormHttpHost final : public engine::IHttpServerHost {
public:
    using TFindShare = std::function<engine::TShareId(const std::string& pathPrefix)>;

    TMainFormHttpHost(TFindShare findShare, platform::WindowHandle window);

    // Called on connection threads under GlobalLock; the window changes its lists under the same lock.
    engine::TShareId FindShareIdForPath(const std::string& pathPrefix) override;
    platform::WindowHandle NotifyWindow() const override;

    // The window is closing: no further lookups reach it.
    void Detach();

private:
    mutable std::mutex mutex_;
    TFindShare findShare_;
    platform::WindowHandle window_;
};

}  // namespace app
