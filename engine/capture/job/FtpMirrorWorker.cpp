#include "engine/capture/job/FtpMirrorWorker.h"

namespace engine {

TFtpMirrorWorker::TFtpMirrorWorker(const TFtpUpdateSettings& settings) : mirror_(settings) { mirror_.SetActive(true); }

std::unique_ptr<IShareWorker> MakeFtpMirror(const TFtpUpdateSettings& settings) {
    return std::make_unique<TFtpMirrorWorker>(settings);
}

}  // namespace engine
