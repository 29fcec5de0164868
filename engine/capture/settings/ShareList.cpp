#include "engine/capture/settings/ShareList.h"

#include <algorithm>
#include <filesystem>

#include "engine/settings/program_state.h"
#include "engine/util/path_utils.h"

namespace engine {

TShareList::TShareList(TShareDefaults defaults) : defaults_(std::move(defaults)) {}

TShareList::~TShareList() { ClearStreamers(); }

void TShareList::InitStreamer(TCaptureStreamer& share, bool httpShare) const {
    share = TCaptureStreamer{};
    share.Index = defaults_.NextIndex ? defaults_.NextIndex() : 0;
    share.CaptureIdx = defaults_.CaptureIdx;
    share.Protocol = httpShare ? kShareProtocolHttp : kShareProtocolUdp;
    if (defaults_.VlcMissing) {
        share.Protocol = kShareProtocolHttp;
        share.VideoActive = false;
        share.ImageActive = true;
    }
    share.Port = defaults_.CaptureIdx * kSharePortsPerCapture + kFirstSharePort + static_cast<int32_t>(items_.size());
    share.SubDir = defaults_.SubDir;
    if (!defaults_.HtmlDir.empty()) {
        share.HtmlDir =
            IncludeTrailingPathDelimiter(IncludeTrailingPathDelimiter(defaults_.HtmlDir) + "Streamer_" + std::to_string(share.Index));
        std::error_code ec;
        std::filesystem::create_directories(share.HtmlDir, ec);
    }
}

PCaptureStreamer TShareList::AddStreamer() {
    auto share = std::make_shared<TCaptureStreamer>();
    InitStreamer(*share, false);
    std::lock_guard lock(GlobalLock());
    items_.push_back(share);
    return share;
}

void TShareList::Append(PCaptureStreamer share) {
    if (!share) return;
    std::lock_guard lock(GlobalLock());
    items_.push_back(std::move(share));
}

int TShareList::IndexOfStreamer(const TCaptureStreamer* share) const {
    if (share == nullptr) return -1;
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const PCaptureStreamer& s) { return s.get() == share; });
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TShareList::DeleteStreamer(const TCaptureStreamer* share) {
    const int index = IndexOfStreamer(share);
    if (index < 0) return;
    PCaptureStreamer record = items_[index];
    {
        std::lock_guard lock(GlobalLock());
        items_.erase(items_.begin() + index);
    }
    if (onDelete_) onDelete_(record);
}

void TShareList::ClearStreamers() {
    while (!items_.empty()) DeleteStreamer(items_.front().get());
}

void TShareList::SetOnDelete(std::function<void(const PCaptureStreamer& share)> onDelete) {
    onDelete_ = std::move(onDelete);
}

}  // namespace engine
