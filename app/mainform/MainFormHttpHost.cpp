#include "app/mainform/MainFormHttpHost.h"

namespace app {

TMainFormHttpHost::TMainFormHttpHost(TFindShare findShare, platform::WindowHandle window)
    : findShare_(std::move(findShare)), window_(window) {}

engine::TShareId TMainFormHttpHost::FindShareIdForPath(const std::string& pathPrefix) {
    std::lock_guard lock(mutex_);
    return findShare_ ? findShare_(pathPrefix) : 0;
}

platform::WindowHandle TMainFormHttpHost::NotifyWindow() const {
    std::lock_guard lock(mutex_);
    return window_;
}

void TMainFormHttpHost::Detach() {
    std::lock_guard lock(mutex_);
    findShare_ = nullptr;
    window_ = 0;
}

}  // namespace app
