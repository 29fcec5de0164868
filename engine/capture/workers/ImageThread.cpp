#include "engine/capture/workers/ImageThread.h"

#include <time.h>

#include <filesystem>
#include <mutex>

#include "engine/settings/program_state.h"
#include "engine/util/atomic_file.h"
#include "engine/util/path_utils.h"
#include "platform/util/file_checks.h"

namespace engine {

namespace {

using Clock = std::chrono::steady_clock;

std::string IdxText(int32_t captureIdx) { return std::to_string(captureIdx); }

}  // namespace

std::chrono::milliseconds SnapshotPause(std::chrono::milliseconds elapsed) {
    if (elapsed <= std::chrono::milliseconds::zero()) return kMinSnapshotPause;
    const auto rest = kSnapshotPeriod - elapsed;
    return rest >= kMinSnapshotPause ? rest : kMinSnapshotPause;
}

std::string TImageThread::ImageExtension(uint8_t imageFormat) {
    switch (imageFormat) {
        case kSnapshotPng: return ".png";
        case kSnapshotJpeg: return ".jpg";
        default: return ".bmp";
    }
}

std::shared_ptr<TImageThread> TImageThread::Start(TImageThreadParams params) {
    std::shared_ptr<TImageThread> thread(new TImageThread(std::move(params)));
    Launch(thread);
    return thread;
}

TImageThread::TImageThread(TImageThreadParams params)
    : captureIdx_(params.CaptureIdx),
      share_(params.Streamer ? TSharePageInfo::From(*params.Streamer) : TSharePageInfo{}),
      archive_(params.Archive),
      archiveFolder_(params.ArchiveFolder.empty() ? std::string() : IncludeTrailingPathDelimiter(params.ArchiveFolder)),
      jpgQuality_(params.JpgQuality),
      pngLevel_(params.PngLevel),
      imageFormat_(params.ImageFormat),
      // An empty share folder stays empty: the thread then never writes into the working folder.
      outDir_(params.OutDir.empty() ? std::string() : IncludeTrailingPathDelimiter(params.OutDir)),
      graph_(std::move(params.Graph)),
      notifier_(std::move(params.Notifier)),
      log_(std::move(params.LogList), true),
      claim_(ClaimShareFolder(outDir_)),
      page_(std::move(params.Template)) {
    if (!outDir_.empty()) platform::MakeFolder(outDir_);
    // Archiving is off for the thread's life when its folder cannot be made.
    if (archive_ && (archiveFolder_.empty() || !platform::MakeFolder(archiveFolder_))) archive_ = false;
}

void TImageThread::Execute() {
    encoder_ = MakeSnapshotEncoder(imageFormat_, pngLevel_, jpgQuality_);
    log_.Info("snapImg Start [idx: " + IdxText(captureIdx_) + "]");
    if (share_.UseFileList && platform::IsFolder(outDir_)) CopyShareFileList(share_.FileList, outDir_);
    first_ = true;

    while (!EndRequested()) {
        std::chrono::milliseconds elapsed{0};
        bool ok = false;
        std::string error;
        try {
            ok = RunPass(elapsed, error);
        } catch (const std::exception& e) {
            error = e.what();
        } catch (...) {
            error = "unknown error";
        }
        if (!ok)
            log_.Error("imgThrd GENERAL ERROR [idx: " + IdxText(captureIdx_) + "] " + error);
        if (!Pause(ok ? SnapshotPause(elapsed) : kSnapshotErrorPause)) break;
    }

    encoder_.reset();
    picture_ = platform::TBitmap{};
    log_.Info("snapImg End [idx: " + IdxText(captureIdx_) + "]");
    if (!writtenDir_.empty()) DeleteFolderIfNewestClaim(writtenDir_, claim_);
}

bool TImageThread::WritePage(std::string* error) {
    const std::string baseName = CaptureImageBaseName(share_.IpAddr, share_.Port);
    const std::string publishedName = baseName + ImageExtension(imageFormat_);
    const std::string imageAddress = ShareImageAddress(share_, publishedName);
    log_.Info("snapImg imgfn: [idx: " + IdxText(captureIdx_) + "] " + imageAddress);

    // The page keeps its filled form, so a later rewrite writes the same page.
    const std::string scriptFolder = ShareAddressFolder(share_);
    page_ = FillSharePage(page_, imageAddress, &scriptFolder);

    const std::string pagePath = outDir_ + kIndexPageName;
    log_.Info("============== index.html ===============");
    log_.InfoLines(page_);
    log_.Info("=========================================");
    log_.Info(pagePath);
    if (!WriteFileAtomic(pagePath, page_, error)) return false;

    first_ = false;
    publishedPath_ = outDir_ + publishedName;
    tempPath_ = outDir_ + baseName;
    log_.Info("snapImg destfn: " + publishedPath_);
    writtenDir_ = outDir_;
    return true;
}

std::string TImageThread::ArchivePath() const {
    const time_t now = ::time(nullptr);
    struct tm local {};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%y%m%d_%H%M%S", &local);
    return archiveFolder_ + "capimg_" + stamp + ImageExtension(imageFormat_);
}

bool TImageThread::RunPass(std::chrono::milliseconds& elapsed, std::string& error) {
    bool written = false;
    Clock::time_point t0;
    {
        // Held from the grab to the published file, so a web server never sends a half-made page and
        // two snapshot threads never grab at once.
        std::unique_lock lock(engine::GlobalLock());
        t0 = Clock::now();
        if (graph_ && graph_->GetImage(picture_) && !picture_.Empty()) {
            log_.Info("imgThrd start [idx: " + IdxText(captureIdx_) + "]");
            if (platform::IsFolder(outDir_) && !SaveFrame(written, error)) return false;
        }
    }
    elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0);
    if (written) {
        log_.Info("imgThrd end [idx: " + IdxText(captureIdx_) + " / " + std::to_string(elapsed.count()) + " msec]");
        if (notifier_) notifier_->Post(kCnImageData, 0);
    }
    return true;
}

bool TImageThread::SaveFrame(bool& written, std::string& error) {
    std::error_code ec;
    if ((first_ || !std::filesystem::exists(outDir_ + kIndexPageName, ec)) && !WritePage(&error)) return false;
    log_.Info("snapImg : [" + std::to_string(picture_.Width) + "x" + std::to_string(picture_.Height) + "] - " +
              publishedPath_);
    if (!encoder_) return true;  // formats above 2 save nothing
    const std::string archivePath = archive_ ? ArchivePath() : std::string();
    // Each file is replaced in one step: a reader gets the old image or the new one, never a part.
    if (!encoder_->Encode(picture_, &error) || !WriteFileAtomic(tempPath_, encoder_->Bytes(), &error)) return false;
    log_.Info("snapImg destfn: " + publishedPath_);
    written = true;
    return WriteFileAtomic(publishedPath_, encoder_->Bytes(), &error) &&
           (!archive_ || WriteFileAtomic(archivePath, encoder_->Bytes(), &error));
}

}  // namespace engine
