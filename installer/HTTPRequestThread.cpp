#include "installer/HTTPRequestThread.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "engine/util/atomic_file.h"
#include "installer/InstallerLog.h"
#include "installer/InstallerMessages.h"
#include "installer/InstallerThread.h"
#include "platform/util/unique_fd.h"

namespace hollarin {
namespace {

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

// The archive being written under its temporary name: removed again unless it was renamed into place,
// however the download ends.
class TPartialArchive {
public:
    explicit TPartialArchive(std::string path)
        : path_(std::move(path)), fd_(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)) {}
    ~TPartialArchive() {
        fd_.Close();
        if (!renamed_) ::unlink(path_.c_str());
    }
    TPartialArchive(const TPartialArchive&) = delete;
    TPartialArchive& operator=(const TPartialArchive&) = delete;

    bool Valid() const { return fd_.Valid(); }
    int Fd() const { return fd_.Get(); }
    const std::string& Path() const { return path_; }
    // Closes the file and renames it to name; false (errno set) when either fails.
    bool RenameTo(const std::string& name) {
        if (!fd_.Close()) return false;
        renamed_ = ::rename(path_.c_str(), name.c_str()) == 0;
        return renamed_;
    }

private:
    std::string path_;
    platform::TUniqueFd fd_;
    bool renamed_ = false;
};

}  // namespace

THTTPRequestThread::THTTPRequestThread(TDownloadRequest request, std::shared_ptr<THttpClient> client,
                                       platform::WindowHandle doneTarget)
    : request_(std::move(request)), client_(std::move(client)), doneTarget_(doneTarget) {}

bool THTTPRequestThread::Start(const std::shared_ptr<THTTPRequestThread>& self) {
    const bool started = StartSelfFreeingThread([self] {
        self->Execute();
        self->ended_ = true;
    }, kDownloadThreadNice);
    if (!started) self->ended_ = true;
    return started;
}

bool THTTPRequestThread::Post(intptr_t wParam, int64_t lParam) const {
    return request_.ProgressTarget != 0 &&
           platform::PostMessage(request_.ProgressTarget, kInstallerMessage, wParam, static_cast<intptr_t>(lParam));
}

void THTTPRequestThread::Execute() {
    if (endRequested_) return;
    int64_t bytes = 0;
    TDownloadStatus status = TDownloadStatus::DownloadFailed;
    try {
        status = Download(&bytes);
    } catch (const std::exception& ex) {
        InstallerLog(LogName(), std::string("ended by an error: ") + ex.what());
    } catch (...) {
        InstallerLog(LogName(), "ended by an unknown error");
    }
    if (endRequested_) return;  // the owner no longer waits for an outcome
    platform::PostMessage(doneTarget_, kDownloadDoneMessage, static_cast<intptr_t>(status), static_cast<intptr_t>(bytes));
}

TDownloadStatus THTTPRequestThread::Download(int64_t* bytes) {
    std::string error;
    const THttpClient::Progress stillWanted = [this](int64_t) { return !endRequested_; };

    int64_t length = -1;
    const THttpResult head = client_->Head(request_.Url, request_.Limits, &length, stillWanted, &error);
    if (head != THttpResult::Ok) {
        if (!endRequested_) InstallerLog(LogName(), "HEAD failed: " + error);
        return head == THttpResult::NotFound ? TDownloadStatus::NotOffered : TDownloadStatus::DownloadFailed;
    }
    Post(kDownloadSize, length);

    TPartialArchive file(engine::TemporaryNameFor(request_.ZipFileName));
    if (!file.Valid()) {
        InstallerLog(LogName(), "cannot create " + file.Path() + ": " + std::strerror(errno));
        return TDownloadStatus::SaveFailed;
    }
    int64_t lastPosted = -1;
    int writeError = 0;
    const THttpClient::Progress progress = [&](int64_t received) {
        if (endRequested_) return false;
        if (received != lastPosted) Post(kDownloadProgress, lastPosted = received);
        return true;
    };
    const THttpClient::Sink sink = [&](const char* data, size_t size) {
        if (!WriteAll(file.Fd(), data, size)) {
            writeError = errno;
            return false;
        }
        *bytes += int64_t(size);
        return true;
    };
    const THttpResult result = client_->Get(request_.Url, request_.Limits, sink, progress, &error);
    if (result == THttpResult::Aborted) return TDownloadStatus::DownloadFailed;
    if (result == THttpResult::SinkFailed) {
        InstallerLog(LogName(), "cannot write " + file.Path() + ": " + std::strerror(writeError));
        return TDownloadStatus::SaveFailed;
    }
    if (result != THttpResult::Ok) {
        InstallerLog(LogName(), "GET failed: " + error);
        return result == THttpResult::NotFound ? TDownloadStatus::NotOffered : TDownloadStatus::DownloadFailed;
    }
    if (*bytes == 0) {
        InstallerLog(LogName(), "the answer is empty");
        return TDownloadStatus::DownloadFailed;
    }
    if (*bytes > lastPosted) Post(kDownloadProgress, *bytes);
    if (!file.RenameTo(request_.ZipFileName)) {
        InstallerLog(LogName(), "cannot save " + file.Path() + " as " + request_.ZipFileName + ": " + std::strerror(errno));
        return TDownloadStatus::SaveFailed;
    }
    InstallerLog(LogName(), "saved " + std::to_string(*bytes) + " bytes as " + request_.ZipFileName);
    return TDownloadStatus::Downloaded;
}

}  // namespace hollarin
