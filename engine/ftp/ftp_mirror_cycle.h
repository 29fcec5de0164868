// One share's mirror cycle: the state that lives from cycle to cycle (first pass, last playlist,
// the delete queue, the names this mirror put on the server) and the steps of one cycle. The mirror
// thread calls Run about once a second; time comes in as an argument so the rules that wait
// (image interval, delete delay) can be driven in tests.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/ftp/ftp_notify.h"
#include "engine/ftp/ftp_session.h"
#include "engine/ftp/ftp_update_settings.h"

namespace engine {

class FtpMirrorCycle {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kDeleteAfterS = 30;               // a vanished file is deleted remotely this much later
    static constexpr size_t kMinRemoteFilesForPlaylist = 4;  // the playlist waits until the server has this many
    static constexpr uintmax_t kMaxPlaylistBytes = 1 << 20;

    // start: the moment the mirror started; the first image interval counts from it.
    FtpMirrorCycle(const TFtpUpdateSettings& settings, std::unique_ptr<FtpSession> session,
                   std::shared_ptr<FtpNotifier> notifier, Clock::time_point start);

    // One cycle: connect, enter the remote folder, upload the playlist, one new file and the images
    // when due, queue and delete vanished files, disconnect.
    void Run(Clock::time_point now);

    // After the last cycle: with clearHostDir, deletes every file this mirror put on the server
    // (cfErrHostDir when that fails); otherwise only removes what an interrupted upload left behind.
    void Finish(bool clearHostDir);

    const std::string& LastPlaylist() const { return lastPlaylist_; }
    std::vector<std::string> QueuedDeletes() const;

private:
    enum class Step { kGoOn, kEndCycle };

    void RunConnected(Clock::time_point now, Clock::time_point cycleStart);
    bool EnterHostDir();
    Step UploadPlaylist(std::set<std::string>& remote);
    Step UploadNewFile(const std::vector<std::string>& localNames, std::set<std::string>& remote,
                       Clock::time_point cycleStart);
    Step UploadImages(const std::vector<std::string>& localNames, std::set<std::string>& remote,
                      Clock::time_point now, Clock::time_point cycleStart);
    void QueueVanished(const std::set<std::string>& remote, const std::vector<std::string>& localNames,
                       Clock::time_point now);
    void DeleteDue(const std::set<std::string>& remote, Clock::time_point now);
    FtpResult UploadAs(const std::string& localName, const std::string& remoteName, std::set<std::string>& remote);
    Step AfterFailedUpload(const FtpResult& result);
    void PostUploadTime(Clock::time_point cycleStart);
    void PostError(intptr_t code);
    std::vector<std::string> LocalNames() const;

    const std::string localDir_;
    const std::string streamName_;
    const std::string hostDir_;  // normalised: "live/cam1/" or ""
    const int imgFreqS_;
    std::unique_ptr<FtpSession> session_;
    std::shared_ptr<FtpNotifier> notifier_;
    FtpTransferHandlers transferHandlers_;

    bool firstPass_ = true;
    Clock::time_point imageTime_;
    std::string lastPlaylist_;
    std::map<std::string, Clock::time_point> deleteList_;  // remote name -> when it was queued
    std::set<std::string> uploaded_;        // names this mirror put on the server (lower case)
    std::set<std::string> pendingTemporary_;  // temporary names an interrupted upload may have left
};

}  // namespace engine
