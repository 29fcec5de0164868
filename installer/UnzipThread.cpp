#include "installer/UnzipThread.h"

#include <exception>

#include "engine/util/path_utils.h"
#include "installer/InstallerLog.h"
#include "installer/InstallerThread.h"
#include "installer/zip/zip_archive_budget.h"
#include "installer/zip/zip_dir_search.h"
#include "installer/zip/zip_extract.h"

namespace hollarin {
namespace {

// Closes the walk however it ends.
class TZipWalk {
public:
    ~TZipWalk() { ZipFindClose(search); }
    TZipDirSearch search;
};

}  // namespace

TUnzipThread::TUnzipThread(std::string zipFile, std::string targetDir, TUnzipSources sources,
                           platform::WindowHandle doneTarget)
    : zipFile_(std::move(zipFile)),
      targetDir_(engine::IncludeTrailingPathDelimiter(targetDir)),
      sources_(std::move(sources)),
      doneTarget_(doneTarget) {}

bool TUnzipThread::Start(const std::shared_ptr<TUnzipThread>& self) {
    const bool started = StartSelfFreeingThread([self] {
        self->Execute();
        self->ended_ = true;
    }, kUnzipThreadNice);
    if (!started) self->ended_ = true;
    return started;
}

void TUnzipThread::Execute() {
    if (endRequested_) return;
    int code = kUnzipException;
    bool stopped = false;
    try {
        code = ExtractAll(&stopped);
    } catch (const std::exception& ex) {
        InstallerLog(LogName(), std::string("extraction ended by an error: ") + ex.what());
    } catch (...) {
        InstallerLog(LogName(), "extraction ended by an unknown error");
    }
    if (stopped || endRequested_) return;
    platform::PostMessage(doneTarget_, kUnzipDoneMessage, code, 1);
}

int TUnzipThread::ExtractAll(bool* stopped) {
    TZipArchiveBudget budget;  // one for the whole archive
    TZipExtractHooks hooks = DefaultExtractHooks();
    hooks.TargetRoot = targetDir_;
    hooks.Budget = &budget;
    if (sources_.Opener) hooks.Opener = sources_.Opener.get();
    if (sources_.Keyboard) hooks.Keyboard = sources_.Keyboard.get();
    TZipArchiveOpener& opener = sources_.Opener ? *sources_.Opener : PosixArchiveOpener();

    TZipWalk walk;
    int answer = ZipFindFirst(zipFile_.c_str(), walk.search, opener);
    int entries = 0;
    while (answer == kZipDirEntry) {
        if (endRequested_) {
            *stopped = true;
            return kUnzipFailed;
        }
        const std::string target = targetDir_ + walk.search.FileName;
        const int result = ExtractZipEntry(zipFile_.c_str(), target.c_str(), walk.search.Attr, walk.search.HeaderOffset,
                                           nullptr, kUnzipProgressId, hooks);
        if (result != kZipExtractOk) {
            InstallerLog(LogName(), "\"" + std::string(walk.search.FileName) + "\" ended with " + std::to_string(result));
            return kUnzipFailed;
        }
        ++entries;
        answer = ZipFindNext(walk.search);
    }
    if (answer == kZipDirEnd) {
        InstallerLog(LogName(), std::to_string(entries) + " entries extracted into " + targetDir_);
        return kUnzipOk;
    }
    // -1, -2 and -3 (an unsafe entry name) alike: the archive is not one we can install from.
    InstallerLog(LogName(), "the directory walk ended with " + std::to_string(answer));
    return kUnzipFailed;
}

}  // namespace hollarin
