#include "engine/capture/job/ShareRuns.h"

namespace engine {
namespace {

void EndRun(TShareRun& run) {
    EndShareWorker(run.ImageThread);
    EndShareWorker(run.CopyFileThread);
    run.FtpUpdate.reset();
}

}  // namespace

void EndShareWorker(std::shared_ptr<IShareWorker>& worker) {
    if (worker) worker->RequestEnd();
    worker.reset();
}

TShareRuns::~TShareRuns() { EndAllWorkers(); }

TShareRun& TShareRuns::Of(const PCaptureStreamer& share) { return runs_[share]; }

TShareRun* TShareRuns::Find(const PCaptureStreamer& share) {
    const auto it = runs_.find(share);
    return it == runs_.end() ? nullptr : &it->second;
}

const TShareRun* TShareRuns::Find(const PCaptureStreamer& share) const {
    const auto it = runs_.find(share);
    return it == runs_.end() ? nullptr : &it->second;
}

void TShareRuns::EndAllWorkers() {
    for (auto& [share, run] : runs_) EndRun(run);
}

void TShareRuns::Forget(const PCaptureStreamer& share) {
    const auto it = runs_.find(share);
    if (it == runs_.end()) return;
    TShareRun run = std::move(it->second);
    runs_.erase(it);
    EndRun(run);
}

}  // namespace engine
