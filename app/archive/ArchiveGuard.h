// One pass of the archive thread over the storage of the snapshot archive, with the settings of the
// moment: when the drive of ArchiveDir has MinDiskSpace whole gigabytes free or less, every capture
// job is stopped (through the host) and an error line is queued for each capture service; otherwise
// the archive's sub-folders are pruned as ArchiveLimit says. Problems are logged once, not every pass.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/archive/ArchiveHost.h"
#include "engine/settings/log_list.h"
#include "engine/util/free_space.h"

namespace app {

// The error line of a capture service stopped for lack of disk space.
std::string DiskSpaceStopText(int32_t captureIdx);

enum class TArchivePassOutcome { CapturesStopped, Pruned, NothingToDo };

class TArchiveGuard {
public:
    TArchiveGuard(std::shared_ptr<IArchiveHost> host, std::shared_ptr<engine::IFreeSpaceQuery> freeSpace,
                  std::shared_ptr<engine::TLogList> log);

    // Never throws: a failure inside the pass is logged and ends that pass.
    TArchivePassOutcome RunPass() noexcept;

private:
    TArchivePassOutcome Pass();
    void Log(const std::string& text);
    void LogNewProblems(std::vector<std::string> problems);

    std::shared_ptr<IArchiveHost> host_;
    std::shared_ptr<engine::IFreeSpaceQuery> freeSpace_;
    std::shared_ptr<engine::TLogList> log_;
    bool queryFailureLogged_ = false;
    std::vector<std::string> lastProblems_;
};

}  // namespace app
