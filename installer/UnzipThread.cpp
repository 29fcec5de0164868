#include "installer/UnzipThread.h"

#include <exception>

#include "engine/util/path_utils.h"
#include "installer/InstallerLog.h"
#include "installer/InstallerThread.h"
#include "installer/RunFolder.h"
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

TUnzipFailure DirectoryFailure(int answer) {
    switch (answer) {
        case kZipDirNeeds64Bit: return TUnzipFailure::Needs64Bit;
        case kZipDirUnsafeName: return TUnzipFailure::UnsafeName;
        default: return TUnzipFailure::NotAnArchive;
    }
}

TUnzipFailure EntryFailure(int result) {
    switch (result) {
        case kZipExtractWrite: return TUnzipFailure::CannotWrite;
        case kZipExtractAborted: return TUnzipFailure::Stopped;
        case kZipExtractMethod:
        case kZipExtractEncrypted: return TUnzipFailure::UnsupportedEntry;
        case kZipExtractCrc:
        case kZipExtractRead:
        case kZipExtractData: return TUnzipFailure::DamagedEntry;
        default: return TUnzipFailure::Error;
    }
}

}  // namespace

TUnzipThread::TUnzipThread(std::string zipFile, std::string targetDir, TUnzipSources sources,
                           std::shared_ptr<const TRunFolder> runFolder, platform::WindowHandle doneTarget)
    : zipFile_(std::move(zipFile)),
      targetDir_(engine::IncludeTrailingPathDelimiter(targetDir)),
      sources_(std::move(sources)),
      runFolder_(std::move(runFolder)),
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
        failure_ = TUnzipFailure::Error;
        InstallerLog(LogName(), std::string("extraction ended by an error: ") + ex.what());
    } catch (...) {
        failure_ = TUnzipFailure::Error;
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
    hooks.Stop = &endRequested_;
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
            failure_ = EntryFailure(result);
            return kUnzipFailed;
        }
        ++entries;
        answer = ZipFindNext(walk.search);
    }
    if (answer == kZipDirEnd) {
        InstallerLog(LogName(), std::to_string(entries) + " entries extracted into " + targetDir_);
        return kUnzipOk;
    }
    InstallerLog(LogName(), "the directory walk ended with " + std::to_string(answer));
    failure_ = DirectoryFailure(answer);
    return kUnzipFailed;
}

}  // namespace hollarin
