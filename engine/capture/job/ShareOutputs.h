// The part of a capture job's start that each HTTP share runs besides its video chain: its folder,
// the web server's page files copied into it, the file-drop and snapshot threads and the FTP mirror.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/capture/job/FtpMirrorWorker.h"
#include "engine/capture/job/ShareRuns.h"
#include "engine/capture/settings/CaptureLog.h"
#include "engine/capture/settings/CaptureNotify.h"
#include "engine/capture/settings/CaptureStreamer.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/capture/settings/SnapshotSource.h"
#include "engine/settings/log_list.h"

namespace engine {

struct TShareOutputContext {
    int32_t CaptureIdx = 0;
    std::string StreamName;
    std::string ArchiveDir;                       // the ArchiveDir setting
    std::shared_ptr<ISnapshotSource> Graph;       // the capture graph; none without one
    std::shared_ptr<ICaptureNotifier> Notifier;   // the workers' wmCaptureNotify
    std::shared_ptr<engine::TLogList> LogList;       // the workers' log lines
    TFtpMirrorFactory MakeFtpMirror;
    CaptureLog Log;
};

// The shares a start visits: active or mirrored.
bool IsVisitedShare(const TCaptureStreamer& share);

// Claims the folder of every visited HTTP share for the new run, before anything is cleared or
// written there, so a snapshot thread of the last run that is still ending leaves it alone.
void ClaimShareFolders(const std::vector<PCaptureStreamer>& shares);

// The page template a share's worker fills: the share's own index.html when it uses its file list
// and the file has text, else the web server's index page, else the server's default page file.
std::string SharePageTemplate(const TCaptureStreamer& share);

// "<ArchiveDir>/Cap_<two-digit index>/".
std::string CaptureArchiveFolder(const std::string& archiveDir, int32_t captureIdx);

// For every visited HTTP share: makes its folder, copies the web server's index page and extra files
// into it (before the workers start, so the page a worker fills is never overwritten by the raw
// template), starts its file-drop and snapshot threads (ending those of an earlier start first) and
// makes its FTP mirror (freeing an earlier one first), all kept in the share's part of runs. A folder
// that cannot be made gets no workers.
void StartShareOutputs(const std::vector<PCaptureStreamer>& shares, const TScreenCaptureParams& params,
                       const TShareOutputContext& context, TShareRuns& runs);

}  // namespace engine
