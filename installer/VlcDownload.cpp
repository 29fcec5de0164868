#include "installer/VlcDownload.h"

#include "installer/CurlHttpClient.h"

namespace hollarin {

TVlcDownload::TVlcDownload(TDownloadRequest request, DoneHandler onDone, std::shared_ptr<THttpClient> client)
    : request_(std::move(request)),
      onDone_(std::move(onDone)),
      client_(client ? std::move(client) : std::make_shared<TCurlHttpClient>()),
      target_([this](uint32_t msg, intptr_t wParam, intptr_t lParam) { OnMessage(msg, wParam, lParam); }) {}

TVlcDownload::~TVlcDownload() { Abort(); }

bool TVlcDownload::Start() {
    if (thread_) return false;
    thread_ = std::make_shared<THTTPRequestThread>(request_, client_, target_.Handle());
    return THTTPRequestThread::Start(thread_);
}

void TVlcDownload::Abort() {
    if (thread_) thread_->RequestEnd();
}

void TVlcDownload::OnMessage(uint32_t msg, intptr_t wParam, intptr_t lParam) {
    if (msg != kDownloadDoneMessage || !onDone_) return;
    TDownloadResult result;
    switch (static_cast<TDownloadStatus>(wParam)) {
        case TDownloadStatus::Downloaded: result.Status = TDownloadStatus::Downloaded; break;
        case TDownloadStatus::SaveFailed: result.Status = TDownloadStatus::SaveFailed; break;
        case TDownloadStatus::NotOffered: result.Status = TDownloadStatus::NotOffered; break;
        default: result.Status = TDownloadStatus::DownloadFailed; break;
    }
    result.ZipFileName = request_.ZipFileName;
    result.Bytes = lParam;
    // The handler may free this object: nothing of it is used afterwards.
    DoneHandler handler = onDone_;
    handler(*this, result);
}

}  // namespace hollarin
