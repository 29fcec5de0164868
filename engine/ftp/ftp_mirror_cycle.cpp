#include "engine/ftp/ftp_mirror_cycle.h"

#include <algorithm>
#include <array>
#include <exception>
#include <fstream>
#include <sstream>
#include <system_error>

#include "engine/util/file_in_use.h"
#include "engine/util/folder_scan.h"
#include "engine/util/ftp_names.h"
#include "engine/util/path_utils.h"
#include "platform/util/ascii_case.h"

namespace engine {
namespace {

constexpr std::array<std::string_view, 9> kNewFileExts = {".ts",  ".html", ".htm", ".png", ".jpg",
                                                         ".svg", ".js",   ".css", ".php"};
constexpr std::array<std::string_view, 3> kImageExts = {".jpg", ".png", ".svg"};
constexpr std::string_view kSegmentExt = ".ts";

template <size_t N>
bool HasExtIn(const std::string& name, const std::array<std::string_view, N>& exts) {
    const std::string ext = platform::AsciiLower(ExtractFileExt(name));
    return std::find(exts.begin(), exts.end(), ext) != exts.end();
}

int64_t WholeSecondsBetween(FtpMirrorCycle::Clock::time_point from, FtpMirrorCycle::Clock::time_point to) {
    return std::chrono::duration_cast<std::chrono::seconds>(to - from).count();
}

bool ConnectionLost(const FtpResult& result) {
    return result.status == FtpStatus::kNetwork || result.status == FtpStatus::kAborted;
}

// The file names of the segments a playlist lists (its lines that are not tags), lower case.
// False when one of them is no name that could be on the server.
bool PlaylistSegments(const std::string& text, std::vector<std::string>* names) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::string uri = line.substr(0, line.find_first_of("?#"));
        const std::string name = platform::AsciiLower(uri.substr(uri.rfind('/') + 1));
        if (!IsSafeFtpName(name)) return false;
        names->push_back(name);
    }
    return true;
}

enum class ReadResult { kOk, kTooLarge, kFailed };

ReadResult ReadSmallFile(const std::string& path, uintmax_t maxBytes, std::string* text) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return ReadResult::kFailed;
    if (size > maxBytes) return ReadResult::kTooLarge;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ReadResult::kFailed;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return ReadResult::kFailed;
    *text = bytes.str();
    return ReadResult::kOk;
}

}  // namespace

FtpMirrorCycle::FtpMirrorCycle(const TFtpUpdateSettings& settings, std::unique_ptr<FtpSession> session,
                               std::shared_ptr<FtpNotifier> notifier, Clock::time_point start)
    : localDir_(IncludeTrailingPathDelimiter(settings.LocalDir)),
      streamName_(settings.StreamName),
      hostDir_(NormalizeMirrorHostDir(settings.HostDir)),
      shareNames_(settings.StreamName, settings.ImageBaseName),
      imgFreqS_(settings.ImgFreq),
      session_(std::move(session)),
      notifier_(std::move(notifier)),
      log_(settings.Log),
      imageTime_(start) {
    transferHandlers_.onBegin = [notifier = notifier_](int64_t bytes) {
        if (bytes > 0) notifier->Post(cfWorkBegin, static_cast<intptr_t>(bytes));
    };
    transferHandlers_.onWork = [notifier = notifier_](int64_t bytes) {
        if (bytes > 0) notifier->Post(cfWork, static_cast<intptr_t>(bytes));
    };
}

std::vector<std::string> FtpMirrorCycle::QueuedDeletes() const {
    std::vector<std::string> names;
    for (const auto& [name, queued] : deleteList_) names.push_back(name);
    return names;
}

void FtpMirrorCycle::PostError(intptr_t code) { notifier_->Post(cfError, code); }

void FtpMirrorCycle::PostUploadTime(Clock::time_point cycleStart) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - cycleStart);
    notifier_->Post(cfUploadTime, static_cast<intptr_t>(elapsed.count()));
}

std::vector<std::string> FtpMirrorCycle::LocalNames() const {
    std::vector<std::string> paths;
    ListFiles(localDir_, "*", paths, false);
    std::vector<std::string> names;
    names.reserve(paths.size());
    for (const std::string& path : paths) names.push_back(ExtractFileName(path));
    return names;
}

void FtpMirrorCycle::Run(Clock::time_point now) {
    const auto cycleStart = Clock::now();
    if (!session_->IsConnected()) {
        const FtpResult connected = session_->Connect();
        if (!connected.ok()) {
            if (connected.status != FtpStatus::kAborted) PostError(cfErrConnect);
            return;
        }
    }
    try {
        RunConnected(now, cycleStart);
    } catch (const std::exception&) {
        // Only running out of memory or a broken standard library lands here; the mirror goes on.
        PostError(cfErrGeneral);
    }
    session_->Disconnect();
}

bool FtpMirrorCycle::EnterHostDir() {
    if (!session_->ChangeDir("/").ok()) return false;
    if (hostDir_.empty()) {
        firstPass_ = false;
        return true;
    }
    if (!IsSafeHostDir(hostDir_)) {
        PostError(cfErrHostDir);
        return false;
    }
    const std::string absolute = AbsoluteHostDir(hostDir_);
    FtpResult entered = session_->ChangeDir(absolute);
    bool there = entered.ok();
    if (there && firstPass_) {
        // Servers report a folder without its trailing "/".
        std::string current;
        session_->CurrentDir(&current);
        there = platform::AsciiLower(current).find(absolute.substr(1)) != std::string::npos;
    }
    if (!there && !ConnectionLost(entered)) {
        entered = session_->MakeDirs(absolute);
        there = entered.ok();
        if (!there && !ConnectionLost(entered)) PostError(cfErrHostDir);
    }
    if (there) firstPass_ = false;
    return there;
}

void FtpMirrorCycle::RunConnected(Clock::time_point now, Clock::time_point cycleStart) {
    // Queued names belong to the host folder; in a cycle that cannot enter it they stay queued.
    if (!EnterHostDir()) return;

    std::vector<FtpListedFile> listed;
    const FtpResult listing = session_->ListPlainFiles(&listed);
    if (!listing.ok()) {
        if (listing.status != FtpStatus::kAborted) PostError(cfErrGeneral);
        return;
    }
    RemoteFiles remote;
    for (const FtpListedFile& file : listed) {
        if (IsSafeFtpName(file.name)) remote[file.name] = file.size;
    }

    const std::vector<std::string> localNames = LocalNames();
    std::error_code error;
    if (!localNames.empty() && (std::filesystem::exists(localDir_ + streamName_ + ".m3u8", error) ||
                                std::filesystem::exists(localDir_ + "index.html", error))) {
        if (UploadPlaylist(remote, now) == Step::kEndCycle) return;
        if (UploadNewFile(localNames, remote, now, cycleStart) == Step::kEndCycle) return;
        if (UploadImages(localNames, remote, now, cycleStart) == Step::kEndCycle) return;
    }
    QueueVanished(remote, localNames, now);
    DeleteDue(remote, now);
}

bool FtpMirrorCycle::StillWritten(const std::string& localName, Clock::time_point now) {
    if (!IsFileInUse(localDir_ + localName)) {
        openFiles_.erase(localName);
        return false;
    }
    OpenFile& open = openFiles_.try_emplace(localName, OpenFile{now}).first->second;
    if (!open.reported && now - open.since >= kReportOpenFileAfter) {
        open.reported = true;
        if (log_) {
            log_("ftp mirror: " + localDir_ + localName + " is still open for writing after " +
                 std::to_string(kReportOpenFileAfter.count()) + " s - it goes up once it is closed");
        }
    }
    return true;
}

bool FtpMirrorCycle::WholeOnServer(const std::string& localName, const RemoteFiles& remote) const {
    const std::string remoteName = platform::AsciiLower(localName);
    const auto there = remote.find(remoteName);
    if (there == remote.end()) return false;
    std::error_code error;
    const uintmax_t localSize = std::filesystem::file_size(localDir_ + localName, error);
    if (!error) return there->second == static_cast<int64_t>(localSize);
    const auto sent = uploaded_.find(remoteName);
    return sent != uploaded_.end() && sent->second == there->second;
}

FtpResult FtpMirrorCycle::UploadAs(const std::string& localName, const std::string& remoteName, RemoteFiles& remote) {
    const std::string temporary = FtpTemporaryName(remoteName);
    int64_t bytes = 0;
    FtpTransferHandlers handlers = transferHandlers_;
    handlers.onBegin = [&](int64_t total) {
        bytes = total;
        transferHandlers_.onBegin(total);
    };
    const FtpResult result = session_->Upload(localDir_ + localName, remoteName, handlers);
    if (result.ok()) {
        uploaded_[remoteName] = bytes;
        remote[remoteName] = bytes;
        pendingTemporary_.erase(temporary);
    } else if (ConnectionLost(result)) {
        // The transfer broke off: a partial file may be there under the temporary name.
        pendingTemporary_.insert(temporary);
        uploaded_.try_emplace(temporary, -1);
        remote.try_emplace(temporary, -1);
    }
    return result;
}

bool FtpMirrorCycle::VanishedLocally(const std::string& localName, const FtpResult& result) const {
    std::error_code error;
    return result.status == FtpStatus::kLocalFile && !std::filesystem::exists(localDir_ + localName, error);
}

FtpMirrorCycle::Step FtpMirrorCycle::AfterFailedUpload(const FtpResult& result) {
    if (result.status != FtpStatus::kAborted) PostError(cfErrUpload);
    return ConnectionLost(result) ? Step::kEndCycle : Step::kGoOn;
}

FtpMirrorCycle::Step FtpMirrorCycle::UploadPlaylist(RemoteFiles& remote, Clock::time_point now) {
    const std::string name = streamName_ + ".m3u8";
    const std::string path = localDir_ + name;
    std::error_code error;
    if (!std::filesystem::exists(path, error) || StillWritten(name, now)) return Step::kGoOn;
    std::string text;
    switch (ReadSmallFile(path, kMaxPlaylistBytes, &text)) {
        case ReadResult::kOk:
            break;
        case ReadResult::kTooLarge:
            PostError(cfErrPlaylist);
            return Step::kGoOn;
        case ReadResult::kFailed:
            PostError(cfErrGeneral);
            return Step::kEndCycle;
    }
    if (text == lastPlaylist_ || remote.size() < kMinRemoteFilesForPlaylist) return Step::kGoOn;
    std::vector<std::string> segments;
    if (!PlaylistSegments(text, &segments) || !IsSafeFtpName(name)) {
        PostError(cfErrPlaylist);
        return Step::kGoOn;
    }
    // A viewer that reads the playlist must find every segment it lists, whole.
    for (const std::string& segment : segments) {
        if (!WholeOnServer(segment, remote)) return Step::kGoOn;
    }
    const FtpResult result = UploadAs(name, platform::AsciiLower(name), remote);
    if (!result.ok()) return AfterFailedUpload(result);
    lastPlaylist_ = text;
    return Step::kGoOn;
}

FtpMirrorCycle::Step FtpMirrorCycle::UploadNewFile(const std::vector<std::string>& localNames, RemoteFiles& remote,
                                                   Clock::time_point now, Clock::time_point cycleStart) {
    for (const std::string& name : localNames) {
        if (!HasExtIn(name, kNewFileExts) || !IsSafeFtpName(name)) continue;
        const std::string remoteName = platform::AsciiLower(name);
        // A segment never changes once written: one of another size on the server is a broken copy.
        const bool there = remote.count(remoteName) != 0;
        if (there && (platform::AsciiLower(ExtractFileExt(name)) != kSegmentExt || WholeOnServer(name, remote))) continue;
        if (StillWritten(name, now)) continue;
        const FtpResult result = UploadAs(name, remoteName, remote);
        if (VanishedLocally(name, result)) continue;
        if (result.status != FtpStatus::kAborted) PostUploadTime(cycleStart);
        return result.ok() ? Step::kGoOn : AfterFailedUpload(result);
    }
    return Step::kGoOn;
}

FtpMirrorCycle::Step FtpMirrorCycle::UploadImages(const std::vector<std::string>& localNames, RemoteFiles& remote,
                                                  Clock::time_point now, Clock::time_point cycleStart) {
    if (WholeSecondsBetween(imageTime_, now) < imgFreqS_) return Step::kGoOn;
    imageTime_ = now;
    for (const std::string& name : localNames) {
        if (!HasExtIn(name, kImageExts) || !IsSafeFtpName(name) || StillWritten(name, now)) continue;
        const FtpResult result = UploadAs(name, platform::AsciiLower(name), remote);
        if (VanishedLocally(name, result)) continue;
        if (result.status != FtpStatus::kAborted) PostUploadTime(cycleStart);
        if (!result.ok() && AfterFailedUpload(result) == Step::kEndCycle) return Step::kEndCycle;
    }
    return Step::kGoOn;
}

std::set<std::string> FtpMirrorCycle::LocalCopyNames(const std::vector<std::string>& localNames) {
    std::set<std::string> names(localNames.begin(), localNames.end());
    for (const std::string& name : localNames) names.insert(platform::AsciiLower(name));
    return names;
}

bool FtpMirrorCycle::Ours(const std::string& remoteName) const {
    return uploaded_.count(remoteName) != 0 || shareNames_.Produces(remoteName);
}

void FtpMirrorCycle::QueueVanished(const RemoteFiles& remote, const std::vector<std::string>& localNames,
                                   Clock::time_point now) {
    const std::set<std::string> local = LocalCopyNames(localNames);
    std::erase_if(openFiles_, [&](const auto& open) { return !local.count(open.first); });
    // What is no longer on the server needs no deleting.
    std::erase_if(uploaded_, [&](const auto& sent) { return !remote.count(sent.first); });
    std::erase_if(pendingTemporary_, [&](const std::string& name) { return !remote.count(name); });
    // The root folder is not the share's alone: there only our own names go.
    for (const auto& [name, size] : remote) {
        if (!local.count(name) && (!hostDir_.empty() || Ours(name))) deleteList_.emplace(name, now);
    }
}

void FtpMirrorCycle::DeleteDue(const RemoteFiles& remote, Clock::time_point now) {
    std::vector<std::string> due;
    for (const auto& [name, queued] : deleteList_) {
        if (WholeSecondsBetween(queued, now) > kDeleteAfterS) due.push_back(name);
    }
    if (due.empty()) return;
    const std::set<std::string> local = LocalCopyNames(LocalNames());
    for (auto it = due.rbegin(); it != due.rend(); ++it) {
        const std::string& name = *it;
        deleteList_.erase(name);
        // The file may have come back since it was queued, or gone from the server by other hands.
        if (local.count(name) || !remote.count(name)) continue;
        const FtpResult deleted = session_->Delete(name);
        if (deleted.ok()) {
            uploaded_.erase(name);
            pendingTemporary_.erase(name);
        } else {
            if (deleted.status != FtpStatus::kAborted) PostError(cfErrDelete);
            if (ConnectionLost(deleted)) return;
        }
    }
}

void FtpMirrorCycle::Finish(bool clearHostDir) {
    // Without the clearing only what a broken-off upload left goes: with none, the server is not asked.
    // The clearing also looks for the share's names that an earlier run left.
    if (!clearHostDir && pendingTemporary_.empty()) return;
    auto toDelete = [&](const std::string& name) {
        return pendingTemporary_.count(name) != 0 || (clearHostDir && Ours(name));
    };
    session_->CapWaits(kFinishWait);
    auto fail = [&] {
        if (clearHostDir) PostError(cfErrHostDir);
        session_->Disconnect();
    };
    session_->Disconnect();
    if (!session_->Connect().ok() || !session_->ChangeDir("/").ok()) return fail();
    if (!hostDir_.empty() && (!IsSafeHostDir(hostDir_) || !session_->ChangeDir(AbsoluteHostDir(hostDir_)).ok())) {
        return fail();
    }
    std::vector<FtpListedFile> listed;
    if (!session_->ListPlainFiles(&listed).ok()) return fail();
    // Files are deleted, the folder itself stays; a single failed delete does not stop the others.
    for (const FtpListedFile& file : listed) {
        if (!toDelete(file.name)) continue;
        if (ConnectionLost(session_->Delete(file.name))) return fail();
    }
    session_->Disconnect();
}

}  // namespace engine
