// The snapshot thread of an HTTP share that publishes snapshots: about once a second it takes the
// latest picture of the capture graph under GlobalLock, encodes it (PNG, JPEG or BMP), publishes it
// under the share's fixed name, keeps a time-stamped archive copy when asked, writes the share's
// index.html from the page template and tells the main window. It frees itself when it ends and then
// deletes the share folder, unless a newer run has claimed that folder meanwhile.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/capture/settings/CaptureNotify.h"
#include "engine/capture/settings/CaptureStreamer.h"
#include "engine/capture/settings/SnapshotSource.h"
#include "engine/capture/workers/ImageEncoders.h"
#include "engine/capture/workers/ShareFolderClaims.h"
#include "engine/capture/workers/SharePage.h"
#include "engine/capture/workers/WorkerLog.h"
#include "engine/capture/workers/WorkerThread.h"
#include "engine/settings/log_list.h"

namespace engine {

// Snapshot formats (capImageFormat).
constexpr uint8_t kSnapshotPng = 0;
constexpr uint8_t kSnapshotJpeg = 1;
constexpr uint8_t kSnapshotBmp = 2;

// One pass a second: what is left of the second after the time under the lock, at least this much.
constexpr std::chrono::milliseconds kSnapshotPeriod{1000};
constexpr std::chrono::milliseconds kMinSnapshotPause{100};
// After a pass that failed, so a fault that repeats cannot flood the log list.
constexpr std::chrono::milliseconds kSnapshotErrorPause{1000};

struct TImageThreadParams {
    int32_t CaptureIdx = 0;
    PCaptureStreamer Streamer;
    bool Archive = false;
    std::string ArchiveFolder;  // ArchiveDir + "Cap_" + two-digit index + "/"
    int32_t JpgQuality = 95;
    int32_t PngLevel = 9;
    std::shared_ptr<engine::TLogList> LogList;
    uint8_t ImageFormat = kSnapshotPng;
    std::string OutDir;    // web-server root + SubDir + "/"
    std::string Template;  // the page template text
    std::shared_ptr<ISnapshotSource> Graph;        // none: no picture is ever taken
    std::shared_ptr<ICaptureNotifier> Notifier;   // cnImageData after every pass that wrote an image
};

// The pause after a pass that spent elapsed under the lock.
std::chrono::milliseconds SnapshotPause(std::chrono::milliseconds elapsed);

class TImageThread final : public TWorkerThread {
public:
    // Makes the share folder (and the archive folder when archiving) and starts the thread at the
    // lowest priority.
    static std::shared_ptr<TImageThread> Start(TImageThreadParams params);

    // The file names of the share's image ("capimg_<ip>_<port>" + extension); the extension is ".png",
    // ".jpg" or ".bmp" (".bmp" for every format above 1).
    static std::string ImageExtension(uint8_t imageFormat);

    const std::string& OutDir() const { return outDir_; }
    bool Archive() const { return archive_; }

private:
    explicit TImageThread(TImageThreadParams params);
    void Execute() override;
    // One pass; false with the reason in error when it failed. elapsed: the time under the lock.
    bool RunPass(std::chrono::milliseconds& elapsed, std::string& error);
    // Under the lock, with a frame in picture_: the page when it is due, then the image and its
    // archive copy; written tells whether the image was saved.
    bool SaveFrame(bool& written, std::string& error);
    bool WritePage(std::string* error);
    std::string ArchivePath() const;

    const int32_t captureIdx_;
    const TSharePageInfo share_;
    bool archive_;
    const std::string archiveFolder_;
    const int32_t jpgQuality_;
    const int32_t pngLevel_;
    const uint8_t imageFormat_;
    std::string outDir_;
    const std::shared_ptr<ISnapshotSource> graph_;
    const std::shared_ptr<ICaptureNotifier> notifier_;
    const TWorkerLog log_;
    const TFolderClaim claim_;

    // Owned by the thread alone.
    std::string page_;
    std::unique_ptr<TImageEncoder> encoder_;
    platform::TBitmap picture_;
    bool first_ = true;
    std::string publishedPath_;
    std::string tempPath_;
    std::string writtenDir_;  // OutDir once the page was written there: the folder deleted at the end
};

}  // namespace engine
