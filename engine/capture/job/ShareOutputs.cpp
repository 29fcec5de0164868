#include "engine/capture/job/ShareOutputs.h"

#include <filesystem>

#include "engine/capture/broadcast/ShareChains.h"
#include "engine/capture/workers/CopyFileThread.h"
#include "engine/capture/workers/ImageThread.h"
#include "engine/capture/workers/ShareFolderClaims.h"
#include "engine/capture/workers/SharePage.h"
#include "engine/capture/workers/WorkerLog.h"
#include "engine/util/number_strings.h"
#include "engine/util/path_utils.h"
#include "platform/util/file_checks.h"
#include "platform/util/whole_file.h"

namespace fs = std::filesystem;

namespace engine {
namespace {

void CopyServerPageFiles(const IShareHttpServer& server, const std::string& folder) {
    std::vector<std::string> files = server.FileList();
    files.insert(files.begin(), server.IndexHtml());
    CopyShareFileList(files, folder);  // a file that cannot be copied is left out
}

void StartFileDrop(const PCaptureStreamer& share, TShareRun& run, const TScreenCaptureParams& p,
                   const std::string& folder, const std::string& page, const TShareOutputContext& c) {
    EndShareWorker(run.CopyFileThread);  // the worker of an earlier start
    TCopyFileThreadParams t;
    t.Streamer = share;
    t.LogList = c.LogList;
    t.DeleteInput = p.Files.capbDelete;
    t.Freq = p.Files.capiFreq;
    t.FileFmt = p.Files.capiFileFmt;
    t.SourceDir = p.Files.capFilesDir;
    t.OutDir = folder;
    t.Template = page;
    t.Notifier = c.Notifier;
    run.CopyFileThread = TCopyFileThread::Start(std::move(t));
}

void StartSnapshots(const PCaptureStreamer& share, TShareRun& run, const TScreenCaptureParams& p,
                    const std::string& folder, const std::string& page, const TShareOutputContext& c) {
    EndShareWorker(run.ImageThread);  // the worker of an earlier start
    TImageThreadParams t;
    t.CaptureIdx = c.CaptureIdx;
    t.Streamer = share;
    t.Archive = p.capImagebArchive;
    t.ArchiveFolder = CaptureArchiveFolder(c.ArchiveDir, c.CaptureIdx);
    t.JpgQuality = p.capImageJpgComp;
    t.PngLevel = p.capImagePngComp;
    t.LogList = c.LogList;
    t.ImageFormat = p.capImageFormat;
    t.OutDir = folder;
    t.Template = page;
    t.Graph = c.Graph;
    t.Notifier = c.Notifier;
    run.ImageThread = TImageThread::Start(std::move(t));
}

bool WantsMirror(const TCaptureStreamer& share) {
    return (share.ImageActive || share.VideoActive) && share.FtpActive && !share.FtpHost.empty() && !share.FtpUser.empty() &&
           !share.FtpPassword.empty();
}

void StartMirror(const TCaptureStreamer& share, TShareRun& run, const std::string& folder,
                 const TShareOutputContext& c) {
    run.FtpUpdate.reset();  // waits for the mirror of an earlier start
    if (!c.MakeFtpMirror) return;
    TFtpUpdateSettings s;
    s.Host = share.FtpHost;
    s.User = share.FtpUser;
    s.Password = share.FtpPassword;
    s.LocalDir = folder;
    s.StreamName = c.StreamName;
    s.ImageBaseName = CaptureImageBaseName(share.IpAddr, share.Port);
    s.HostDir = share.FtpHostDir;
    s.DeleteHostDir = share.FtpDeleteDir;
    s.NotifyWindow = run.FrameHandle;
    s.ImgFreq = share.FtpImageFreq;
    s.Log = [log = TWorkerLog(c.LogList, true), prefix = CaptureLogPrefix(c.CaptureIdx)](const std::string& text) {
        log.Info(prefix + text);
    };
    run.FtpUpdate = c.MakeFtpMirror(s);
}

}  // namespace

bool IsVisitedShare(const TCaptureStreamer& share) { return share.Active || share.FtpActive; }

void ClaimShareFolders(const std::vector<PCaptureStreamer>& shares) {
    for (const PCaptureStreamer& share : shares) {
        if (!IsVisitedShare(*share) || share->Protocol != kShareProtocolHttp) continue;
        if (const auto folder = ShareFolder(*share)) ClaimShareFolder(*folder);
    }
}

std::string SharePageTemplate(const TCaptureStreamer& share) {
    std::string text;
    if (share.UseFileList && platform::IsFile(share.IndexHtml)) platform::ReadWholeFile(share.IndexHtml, text);
    if (text.empty() && share.HttpServer) {
        const std::string own = share.HttpServer->IndexHtml();
        platform::ReadWholeFile(platform::IsFile(own) ? own : share.HttpServer->DefaultIndexFile(), text);
    }
    return text;
}

std::string CaptureArchiveFolder(const std::string& archiveDir, int32_t captureIdx) {
    if (archiveDir.empty()) return {};
    return IncludeTrailingPathDelimiter(archiveDir) + "Cap_" + ZeroPadStr(std::to_string(captureIdx), 2) + "/";
}

void StartShareOutputs(const std::vector<PCaptureStreamer>& shares, const TScreenCaptureParams& params,
                       const TShareOutputContext& context, TShareRuns& runs) {
    for (const PCaptureStreamer& share : shares) {
        if (!IsVisitedShare(*share) || share->Protocol != kShareProtocolHttp) continue;
        const auto folder = ShareFolder(*share);
        if (!folder) {
            // A share with video was already named by its chain.
            if (!share->VideoActive && context.Log)
                context.Log(CaptureLogPrefix(context.CaptureIdx) + "share " + std::to_string(share->Index) +
                                ": no web server or no valid folder name \"" + share->SubDir + "\" - nothing published",
                            kLogLevelError);
            continue;
        }
        TShareRun& run = runs.Of(share);
        if (platform::MakeFolder(*folder)) {
            CopyServerPageFiles(*share->HttpServer, *folder);
            const std::string page = share->FileActive || share->ImageActive ? SharePageTemplate(*share) : std::string();
            if (share->FileActive) StartFileDrop(share, run, params, *folder, page, context);
            if (share->ImageActive) StartSnapshots(share, run, params, *folder, page, context);
        } else if (!share->VideoActive && context.Log) {  // a share with video was named by its chain
            context.Log(CaptureLogPrefix(context.CaptureIdx) + "share folder " + *folder + " cannot be created - no workers",
                        kLogLevelError);
        }
        if (WantsMirror(*share)) StartMirror(*share, run, *folder, context);
    }
}

}  // namespace engine
