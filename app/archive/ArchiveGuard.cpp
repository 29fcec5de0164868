#include "app/archive/ArchiveGuard.h"

#include <algorithm>
#include <exception>

#include "app/archive/ArchivePrune.h"
#include "app/log/DiskSpace.h"
#include "app/log/LogQueue.h"
#include "engine/settings/settings_store.h"

namespace app {

std::string DiskSpaceStopText(int32_t captureIdx) {
    return "[captrure_idx:" + std::to_string(captureIdx) + "] too little disk space - capture must be stopped!";
}

TArchiveGuard::TArchiveGuard(std::shared_ptr<IArchiveHost> host, std::shared_ptr<engine::IFreeSpaceQuery> freeSpace,
                             std::shared_ptr<engine::TLogList> log)
    : host_(std::move(host)), freeSpace_(std::move(freeSpace)), log_(std::move(log)) {}

void TArchiveGuard::Log(const std::string& text) { QueueLogEntry(*log_, text, engine::kLogError); }

TArchivePassOutcome TArchiveGuard::RunPass() noexcept {
    try {
        return Pass();
    } catch (const std::exception& e) {
        try {
            Log(std::string("[archive] pass failed : ") + e.what());
        } catch (...) {  // no memory even for the line: the next pass tries again
        }
        return TArchivePassOutcome::NothingToDo;
    }
}

TArchivePassOutcome TArchiveGuard::Pass() {
    const std::shared_ptr<const engine::TSettings> settings = engine::Settings();
    const std::optional<int64_t> freeGb = FreeGigabytes(*freeSpace_, settings->ArchiveDir);
    if (!freeGb) {
        // Not knowing the free space is no reason to stop the captures; pruning only frees space.
        if (!queryFailureLogged_) Log("[archive] free disk space of " + settings->ArchiveDir + " cannot be read");
        queryFailureLogged_ = true;
    } else {
        queryFailureLogged_ = false;
        if (static_cast<int64_t>(settings->MinDiskSpace) >= *freeGb) {
            const std::vector<int32_t> indices = host_->CaptureIndices();
            for (int32_t idx : indices) Log(DiskSpaceStopText(idx));
            host_->StopCapturesForDiskSpace(indices);
            return TArchivePassOutcome::CapturesStopped;
        }
    }
    if (settings->ArchiveLimit == engine::kArchiveNoPruning) return TArchivePassOutcome::NothingToDo;
    TArchivePruneResult result =
        PruneArchive(settings->ArchiveDir, {settings->ArchiveLimit, settings->ArchiveSize, settings->ArchiveFile});
    LogNewProblems(std::move(result.Problems));
    return TArchivePassOutcome::Pruned;
}

void TArchiveGuard::LogNewProblems(std::vector<std::string> problems) {
    // A file that will not go is met again every second: only what the last pass did not report is new.
    for (const std::string& problem : problems)
        if (std::find(lastProblems_.begin(), lastProblems_.end(), problem) == lastProblems_.end())
            Log("[archive] " + problem);
    lastProblems_ = std::move(problems);
}

}  // namespace app
