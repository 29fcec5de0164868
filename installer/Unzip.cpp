#include "installer/Unzip.h"


#include "installer/InstallerLog.h"
#include "platform/util/file_checks.h"

namespace hollarin {

TUnzip::TUnzip() : target_([this](uint32_t msg, intptr_t wParam, intptr_t lParam) { OnMessage(msg, wParam, lParam); }) {}

TUnzip::~TUnzip() {
    if (thread_) thread_->RequestEnd();
}

void TUnzip::SetZipFile(const std::string& zipFile) { zipFile_ = zipFile; }

void TUnzip::SetTargetDir(const std::string& targetDir) { targetDir_ = targetDir; }

bool TUnzip::Start() {
    if (thread_ || zipFile_.empty() || targetDir_.empty()) return false;
    if (!platform::MakeFolder(targetDir_)) {
        InstallerLog("unzip: " + zipFile_, "cannot create the folder " + targetDir_);
        return false;
    }
    thread_ = std::make_shared<TUnzipThread>(zipFile_, targetDir_, sources_, runFolder_, target_.Handle());
    return TUnzipThread::Start(thread_);
}

void TUnzip::OnMessage(uint32_t msg, intptr_t wParam, intptr_t lParam) {
    if (msg != kUnzipDoneMessage || !OnDone) return;
    // The handler may free this object: nothing of it is used afterwards.
    DoneHandler handler = OnDone;
    handler(*this, static_cast<int>(wParam), lParam != 0);
}

}  // namespace hollarin
