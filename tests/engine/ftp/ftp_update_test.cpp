// The mirror as the capture job runs it: a real thread, a real FTP server on loopback and the
// notifications arriving as window messages on this thread's event loop.
#include "engine/ftp/ftp_update.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>

#include "engine/ftp/ftp_mirror_cycle.h"
#include "engine/ftp/ftp_notify.h"
#include "engine/settings/settings_store.h"
#include "platform/ui/message_target.h"
#include "tests/engine/ftp/ftp_test_server.h"
#include "tests/support/test_env.h"

namespace engine {
namespace {

using fw_test::FtpTestServer;
using Note = std::pair<intptr_t, intptr_t>;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::vector<std::string> FilesIn(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FtpUpdateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "engine_ftp_update_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }

    void StartMirror(FtpTestServer& server, int ftpDelayS, bool deleteHostDir, const std::string& hostDir = "Live\\") {
        engine::UpdateSettings([&](engine::TSettings& s) { s.FtpDelay = ftpDelayS; });
        TFtpUpdateSettings settings;
        settings.Host = "http://" + server.host();
        settings.User = FtpTestServer::kUser;
        settings.Password = FtpTestServer::kPassword;
        settings.LocalDir = local_.path().string() + "/";
        settings.StreamName = "stream_1";
        settings.ImageBaseName = "capimg_2130706433_8080";
        settings.HostDir = hostDir;
        settings.DeleteHostDir = deleteHostDir;
        settings.NotifyWindow = tab_.Handle();
        mirror_ = std::make_unique<TFtpUpdate>(settings);
        mirror_->SetActive(true);
    }

    // Runs this thread's event loop (which delivers the notifications) until pred holds.
    bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
        return fw_test::WaitUntil(
            [&] {
                QCoreApplication::processEvents();
                return pred();
            },
            timeout);
    }
    size_t Count(intptr_t wParam, intptr_t lParam = -1) const {
        return std::count_if(notes_.begin(), notes_.end(), [&](const Note& n) {
            return n.first == wParam && (lParam == -1 || n.second == lParam);
        });
    }
    std::string Playlist(int first, int last) {
        std::string text = "#EXTM3U\n#EXT-X-TARGETDURATION:1\n";
        for (int i = first; i <= last; ++i) text += "#EXTINF:1,\nhttp://cdn.example/live/" + Segment(i) + "\n";
        return text;
    }
    static std::string Segment(int i) { return "stream_1_0000000" + std::to_string(i) + ".ts"; }

    fw_test::TempDir local_;
    std::vector<Note> notes_;
    platform::MessageTarget tab_{[this](uint32_t msg, intptr_t w, intptr_t l) {
        if (msg != wmFtpNotify) return;
        if (notes_.empty()) firstNote_ = std::chrono::steady_clock::now();
        notes_.emplace_back(w, l);
    }};
    std::chrono::steady_clock::time_point firstNote_;  // the first cycle's first upload began
    std::unique_ptr<TFtpUpdate> mirror_;
};

TEST_F(FtpUpdateTest, ServerFolderFollowsTheShareFolderWithDeletesAndOrderedNotifications) {
    FtpTestServer server;
    ASSERT_TRUE(server.Start());
    const fs::path remote = server.root() / "live";
    // An earlier run left its files in the share's folder, and someone else put one there.
    const std::vector<std::string> leftovers = {"notes.txt", "stream_1_00000008.ts.part", "stream_1_00000009.ts"};
    fs::create_directories(remote);
    for (const std::string& name : leftovers) fw_test::WriteFile(remote / name, "earlier");
    fw_test::WriteFile(local_ / "index.html", "<html/>");
    for (int i = 1; i <= 3; ++i) fw_test::WriteFile(local_ / Segment(i), std::string(50'000 + i, 's'));
    fw_test::WriteFile(local_ / "stream_1.m3u8", Playlist(1, 3));

    const auto started = std::chrono::steady_clock::now();
    StartMirror(server, 1, true);
    // The first cycle waits until more than one whole second has passed.
    WaitFor([] { return false; }, 1500ms);
    EXPECT_TRUE(notes_.empty());
    EXPECT_EQ(FilesIn(remote), leftovers);

    ASSERT_TRUE(WaitFor([&] { return fs::exists(remote / "stream_1.m3u8"); }, 20s));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_EQ(FilesIn(remote), (std::vector<std::string>{"index.html", "notes.txt", "stream_1.m3u8", Segment(1), Segment(2),
                                                         Segment(3), "stream_1_00000008.ts.part", "stream_1_00000009.ts"}));
    EXPECT_EQ(fw_test::ReadFile(remote / Segment(2)), std::string(50'002, 's'));

    // The share moves on: a new segment, the oldest one gone, a new playlist.
    fw_test::WriteFile(local_ / Segment(4), "four");
    fs::remove(local_ / Segment(1));
    fw_test::WriteFile(local_ / "stream_1.m3u8", Playlist(2, 4));
    ASSERT_TRUE(WaitFor([&] { return fw_test::ReadFile(remote / "stream_1.m3u8") == Playlist(2, 4); }, 20s));
    EXPECT_TRUE(fs::exists(remote / Segment(4)));
    EXPECT_TRUE(fs::exists(remote / Segment(1)));  // deleted only half a minute after it went
    for (const std::string& name : leftovers) EXPECT_TRUE(fs::exists(remote / name)) << name;

    // The leftovers go half a minute after the first cycle found them.
    ASSERT_TRUE(WaitFor(
        [&] { return std::none_of(leftovers.begin(), leftovers.end(), [&](auto& n) { return fs::exists(remote / n); }); },
        45s));
    const auto leftoversGone = std::chrono::steady_clock::now() - firstNote_;
    EXPECT_GE(leftoversGone, 30s);
    EXPECT_LT(leftoversGone, 40s);
    ASSERT_TRUE(WaitFor([&] { return !fs::exists(remote / Segment(1)); }, 45s));
    EXPECT_EQ(FilesIn(remote), (std::vector<std::string>{"index.html", "stream_1.m3u8", Segment(2), Segment(3), Segment(4)}));

    // Every upload reports its size first, then progress, then its time; nothing failed.
    EXPECT_EQ(Count(cfError), 0u);
    EXPECT_EQ(Count(cfUploadTime), 5u);  // four segments and the page; playlists report no time
    intptr_t begun = -1, lastWork = 0;
    for (const Note& note : notes_) {
        if (note.first == cfWorkBegin) {
            EXPECT_GT(note.second, 0);
            begun = note.second;
            lastWork = 0;
        } else if (note.first == cfWork) {
            EXPECT_GT(note.second, lastWork);
            EXPECT_LE(note.second, begun);
            lastWork = note.second;
        } else if (note.first == cfUploadTime) {
            EXPECT_EQ(lastWork, begun) << "an upload time before its transfer ended";
            EXPECT_GE(note.second, 0);
            EXPECT_LT(note.second, 10'000);
        }
    }

    // Freeing the mirror clears what it put on the server, and the folder stays.
    fw_test::WriteFile(remote / "late.txt", "put there after the last cycle");
    mirror_.reset();
    EXPECT_EQ(FilesIn(remote), (std::vector<std::string>{"late.txt"}));
}

TEST_F(FtpUpdateTest, ServerKilledMidUploadIsReportedAndALaterCycleRecovers) {
    FtpTestServer server(fw_test::FtpTestServerOptions{.writeLimitBytesPerS = 100'000});
    ASSERT_TRUE(server.Start());
    fs::create_directories(server.root() / "live");
    const std::string segment(300'000, 'v');
    fw_test::WriteFile(local_ / "index.html", "<html/>");
    fw_test::WriteFile(local_ / "capimg_1.png", "png");  // names in order: capimg, index, then the segment
    fw_test::WriteFile(local_ / Segment(1), segment);
    StartMirror(server, 0, false);

    ASSERT_TRUE(WaitFor([&] { return Count(cfWorkBegin, 300'000) == 1 && Count(cfWork) > Count(cfWorkBegin); }, 30s));
    server.Stop();
    ASSERT_TRUE(WaitFor([&] { return Count(cfError, cfErrUpload) >= 1; }, 20s));
    ASSERT_TRUE(WaitFor([&] { return Count(cfError, cfErrConnect) >= 1; }, 20s));

    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(WaitFor([&] { return fs::exists(server.root() / "live" / Segment(1)); }, 30s));
    EXPECT_EQ(fw_test::ReadFile(server.root() / "live" / Segment(1)), segment);
    EXPECT_FALSE(fs::exists(server.root() / "live" / (Segment(1) + ".part")));
    mirror_.reset();
    EXPECT_TRUE(fs::exists(server.root() / "live" / Segment(1)));  // no clearing asked for
}

// Names that differ from the mirror's own only in letter case are other files: a stop in the middle
// of an upload removes the mirror's broken-off upload and, when clearing is asked for, the mirror's
// files, and leaves every one of them alone, in the share's own folder and in the server's root.
TEST_F(FtpUpdateTest, AStopMidUploadLeavesNamesInAnotherLetterCase) {
    const std::vector<std::string> foreign = {"INDEX.HTML", "STREAM_1.M3U8", "STREAM_1_00000001.TS",
                                              "STREAM_1_00000002.TS.PART"};
    const struct {
        const char* hostDir;
        const char* remoteDir;
        bool deleteHostDir;
    } cases[] = {{"Live\\", "live", false}, {"Live\\", "live", true}, {"", "", false}, {"", "", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("host folder \"") + c.hostDir + "\", clearing " + (c.deleteHostDir ? "on" : "off"));
        FtpTestServer server(fw_test::FtpTestServerOptions{.writeLimitBytesPerS = 100'000});
        ASSERT_TRUE(server.Start());
        const fs::path remote = server.root() / c.remoteDir;
        fs::create_directories(remote);
        for (const std::string& name : foreign) fw_test::WriteFile(remote / name, "someone else's " + name);
        fs::remove_all(local_.path());
        fs::create_directories(local_.path());
        fw_test::WriteFile(local_ / "index.html", "<html/>");
        fw_test::WriteFile(local_ / Segment(1), "one");
        fw_test::WriteFile(local_ / Segment(2), std::string(300'000, 'v'));  // takes three seconds to go up
        StartMirror(server, 0, c.deleteHostDir, c.hostDir);

        const fs::path partial = remote / (Segment(2) + ".part");
        ASSERT_TRUE(WaitFor([&] {
            std::error_code error;
            return fs::exists(remote / Segment(1)) && fs::file_size(partial, error) > 0 && !error;
        }, 30s));
        mirror_.reset();

        std::vector<std::string> kept = foreign;
        if (!c.deleteHostDir) kept.insert(kept.end(), {"index.html", Segment(1)});
        std::sort(kept.begin(), kept.end());
        EXPECT_EQ(FilesIn(remote), kept);
        for (const std::string& name : foreign) EXPECT_EQ(fw_test::ReadFile(remote / name), "someone else's " + name);
    }
}

// A stop ends the call the mirror hangs in at once; the clearing asked for afterwards gives up once
// the server has left one answer out for its short wait.
TEST_F(FtpUpdateTest, StopDoesNotWaitForAStalledServer) {
    for (const bool deleteHostDir : {false, true}) {
        FtpTestServer server;
        ASSERT_TRUE(server.Start());
        fw_test::WriteFile(local_ / "index.html", "<html/>");
        StartMirror(server, 0, deleteHostDir);
        ASSERT_TRUE(WaitFor([&] { return fs::exists(server.root() / "live" / "index.html"); }, 20s));
        ASSERT_EQ(::kill(server.pid(), SIGSTOP), 0);
        WaitFor([] { return false; }, 2500ms);  // the next cycles hang on the silent server
        const auto stopping = std::chrono::steady_clock::now();
        mirror_.reset();
        const auto took = std::chrono::steady_clock::now() - stopping;
        ::kill(server.pid(), SIGCONT);
        EXPECT_LT(took, deleteHostDir ? FtpMirrorCycle::kFinishWait + 1500ms : 1s)
            << "clearing asked: " << deleteHostDir;
        EXPECT_TRUE(fs::exists(server.root() / "live" / "index.html"));
    }
}

}  // namespace
}  // namespace engine
