#include "engine/capture/settings/ShareList.h"

#include <algorithm>
#include <filesystem>

#include "engine/settings/program_state.h"
#include "engine/util/path_utils.h"

namespace engine {

TStreamerList::TStreamerList(TShareDefaults defaults) : defaults_(std::move(defaults)) {}

TStreamerList::~TStreamerList() { ClearStreamers(); }

void TStreamerList::InitStreamer(TCaptureStreamer& streamer, bool httpShare) const {
    streamer = TCaptureStreamer{};
    streamer.Index = defaults_.NextIndex ? defaults_.NextIndex() : 0;
    streamer.CaptureIdx = defaults_.CaptureIdx;
    streamer.Protocol = httpShare ? kShareProtocolHttp : kShareProtocolUdp;
    if (defaults_.VlcMissing) {
        streamer.Protocol = kShareProtocolHttp;
        streamer.VideoActive = false;
        streamer.ImageActive = true;
    }
    streamer.Port = defaults_.CaptureIdx * kSharePortsPerCapture + kFirstSharePort + static_cast<int32_t>(items_.size());
    streamer.SubDir = defaults_.SubDir;
    if (!defaults_.HtmlDir.empty()) {
        streamer.HtmlDir =
            IncludeTrailingPathDelimiter(IncludeTrailingPathDelimiter(defaults_.HtmlDir) + "Streamer_" + std::to_string(streamer.Index));
        std::error_code ec;
        std::filesystem::create_directories(streamer.HtmlDir, ec);
    }
}

PCaptureStreamer TStreamerList::AddStreamer() {
    auto streamer = std::make_shared<TCaptureStreamer>();
    InitStreamer(*streamer, false);
    std::lock_guard lock(GlobalLock());
    items_.push_back(streamer);
    return streamer;
}

void TStreamerList::Append(PCaptureStreamer streamer) {
    if (!streamer) return;
    std::lock_guard lock(GlobalLock());
    items_.push_back(std::move(streamer));
}

int TStreamerList::IndexOfStreamer(const TCaptureStreamer* streamer) const {
    if (streamer == nullptr) return -1;
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const PCaptureStreamer& s) { return s.get() == streamer; });
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TStreamerList::DeleteStreamer(const TCaptureStreamer* streamer) {
    const int index = IndexOfStreamer(streamer);
    if (index < 0) return;
    PCaptureStreamer record = items_[index];
    {
        std::lock_guard lock(GlobalLock());
        items_.erase(items_.begin() + index);
    }
    EndShareWorkers(*record);
}

void TStreamerList::ClearStreamers() {
    while (!items_.empty()) DeleteStreamer(items_.front().get());
}

void EndShareWorkers(TCaptureStreamer& streamer) {
    for (std::shared_ptr<IShareWorker>* thread : {&streamer.ImageThread, &streamer.CopyFileThread}) {
        if (*thread) (*thread)->RequestEnd();
        thread->reset();
    }
    streamer.FtpUpdate.reset();
}

}  // namespace engine
