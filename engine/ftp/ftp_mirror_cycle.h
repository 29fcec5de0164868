// One share's mirror cycle: the state that lives from cycle to cycle (first pass, last playlist,
// the delete queue, the files this mirror put on the server) and the steps of one cycle. The mirror
// thread calls Run about once a second; time comes in as an argument so the rules that wait
// (image interval, delete delay, the report of a file that stays open) can be driven in tests.
//
// Only whole files go up: a file still open for writing (the segment the HLS output is filling) waits
// for a later cycle, a segment goes up once with all its bytes, and the playlist goes up only when
// every segment it names is on the server with the size of the local file.
//
// What goes from the server. Names are compared exactly, as a case-sensitive server does: the copy of
// a local file is its name in lower case, and a server name that differs from that only in letter case
// is another file. A server name that stands for no local file is queued and deleted once it has been
// so for more than kDeleteAfterS: inside a host folder of the share's own, every such name (the folder
// mirrors the share); in the server's root, which others use too, only the names this share produces
// (FtpShareNames) and the names this mirror stored. The clearing when the mirror goes deletes only
// those two kinds, whatever the folder.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/ftp/ftp_notify.h"
#include "engine/ftp/ftp_session.h"
#include "engine/ftp/ftp_share_names.h"
#include "engine/ftp/ftp_update_settings.h"

namespace engine {

class FtpMirrorCycle {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kDeleteAfterS = 30;               // a vanished file is deleted remotely this much later
    static constexpr size_t kMinRemoteFilesForPlaylist = 4;  // the playlist waits until the server has this many
    static constexpr uintmax_t kMaxPlaylistBytes = 1 << 20;
    // A file open for writing this long is reported once (segments are at most 100 seconds long).
    static constexpr std::chrono::seconds kReportOpenFileAfter{120};
    // While the owner waits for the last clearing, a server gets this long for each answer: enough for
    // a server on a busy machine, short enough that a silent one holds up a stop only briefly.
    static constexpr std::chrono::seconds kFinishWait{3};

    // start: the moment the mirror started; the first image interval counts from it.
    FtpMirrorCycle(const TFtpUpdateSettings& settings, std::unique_ptr<FtpSession> session,
                   std::shared_ptr<FtpNotifier> notifier, Clock::time_point start);

    // One cycle: connect, enter the remote folder, upload the playlist, one new file and the images
    // when due, queue and delete vanished files, disconnect.
    void Run(Clock::time_point now);

    // After the last cycle: with clearHostDir, deletes every file this mirror put on the server and
    // every name this share produces (cfErrHostDir when that fails); otherwise only removes what an
    // interrupted upload left behind.
    // A server that does not answer within kFinishWait ends it.
    void Finish(bool clearHostDir);

    const std::string& LastPlaylist() const { return lastPlaylist_; }
    std::vector<std::string> QueuedDeletes() const;

private:
    enum class Step { kGoOn, kEndCycle };
    using RemoteFiles = std::map<std::string, int64_t>;  // name as the server spells it -> size there

    struct OpenFile {
        Clock::time_point since;  // first found open for writing
        bool reported = false;
    };

    void RunConnected(Clock::time_point now, Clock::time_point cycleStart);
    bool EnterHostDir();
    Step UploadPlaylist(RemoteFiles& remote, Clock::time_point now);
    Step UploadNewFile(const std::vector<std::string>& localNames, RemoteFiles& remote, Clock::time_point now,
                       Clock::time_point cycleStart);
    Step UploadImages(const std::vector<std::string>& localNames, RemoteFiles& remote, Clock::time_point now,
                      Clock::time_point cycleStart);
    void QueueVanished(const RemoteFiles& remote, const std::vector<std::string>& localNames, Clock::time_point now);
    void DeleteDue(const RemoteFiles& remote, Clock::time_point now);
    // The server names that stand for local files: the local names and the lower-case names their copies have.
    static std::set<std::string> LocalCopyNames(const std::vector<std::string>& localNames);
    // This mirror stored the name or the share produces it.
    bool Ours(const std::string& remoteName) const;
    // True while the file's writer still has it open; a file that stays open is reported once.
    bool StillWritten(const std::string& localName, Clock::time_point now);
    // The server holds the file with all its bytes: the size of the local file or, once that is
    // gone, the size this mirror sent.
    bool WholeOnServer(const std::string& localName, const RemoteFiles& remote) const;
    FtpResult UploadAs(const std::string& localName, const std::string& remoteName, RemoteFiles& remote);
    // The local file went between the listing and the upload: nothing to report.
    bool VanishedLocally(const std::string& localName, const FtpResult& result) const;
    Step AfterFailedUpload(const FtpResult& result);
    void PostUploadTime(Clock::time_point cycleStart);
    void PostError(intptr_t code);
    std::vector<std::string> LocalNames() const;

    const std::string localDir_;
    const std::string streamName_;
    const std::string hostDir_;  // normalised: "live/cam1/" or ""
    const FtpShareNames shareNames_;
    const int imgFreqS_;
    std::unique_ptr<FtpSession> session_;
    std::shared_ptr<FtpNotifier> notifier_;
    const std::function<void(const std::string&)> log_;
    FtpTransferHandlers transferHandlers_;

    bool firstPass_ = true;
    Clock::time_point imageTime_;
    std::string lastPlaylist_;
    std::map<std::string, Clock::time_point> deleteList_;  // remote name -> when it was queued
    std::map<std::string, int64_t> uploaded_;  // what this mirror put on the server: lower-case name -> bytes
    std::set<std::string> pendingTemporary_;   // temporary names an interrupted upload may have left
    std::map<std::string, OpenFile> openFiles_;  // local files found still open for writing
};

}  // namespace engine
